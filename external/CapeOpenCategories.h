// Component categories of CAPE-OPEN 1.0: a component declares the ones it implements
// under its CLSID's "Implemented Categories" key.
#pragma once
#include <objbase.h>
#include <windows.h>

#define TX_CAPE_CATID(name, l) \
  inline constexpr GUID name = {l, 0x7D66, 0x11D2, {0xA6, 0x7D, 0x00, 0x10, 0x5A, 0x42, 0x88, 0x7F}}

// {678C09A1-7D66-11D2-A67D-00105A42887F} Components
TX_CAPE_CATID(CATID_CapeComponent, 0x678C09A1);
// {678C09A2-7D66-11D2-A67D-00105A42887F} Thermo Routines
TX_CAPE_CATID(CATID_CapeThermoRoutine, 0x678C09A2);
// {678C09A3-7D66-11D2-A67D-00105A42887F} Thermo Property Systems
TX_CAPE_CATID(CATID_CapeThermoSystem, 0x678C09A3);
// {678C09A4-7D66-11D2-A67D-00105A42887F} Thermo Property Packages
TX_CAPE_CATID(CATID_CapeThermoPropertyPackage, 0x678C09A4);
// {678C09A5-7D66-11D2-A67D-00105A42887F} Unit Operations
TX_CAPE_CATID(CATID_CapeUnitOperation, 0x678C09A5);
// {678C09A6-7D66-11D2-A67D-00105A42887F} Thermo Equilibrium Servers
TX_CAPE_CATID(CATID_CapeThermoEquilibriumServer, 0x678C09A6);
// {678C09AA-7D66-11D2-A67D-00105A42887F} Chemical Reaction Systems
TX_CAPE_CATID(CATID_CapeKineticReactionSystem, 0x678C09AA);
// {678C09AB-7D66-11D2-A67D-00105A42887F} Chemical Reaction Routines
TX_CAPE_CATID(CATID_CapeKineticReaction, 0x678C09AB);

#undef TX_CAPE_CATID
