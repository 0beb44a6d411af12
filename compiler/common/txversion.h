// Version values of the compiler deliverables, kept in this one place.
// The Windows version resources (txversion.rc) and the native builds both
// take them from here, so the banner reads the same on either side.
// Plain #defines only: windres preprocesses this file too.
#pragma once

#define TX_VERSION_MAJOR 6
#define TX_VERSION_MINOR 3
#define TX_VERSION_LEVEL 10
#define TX_VERSION_PATCH 0

#define TX_STR_(x) #x
#define TX_STR(x) TX_STR_(x)
// "6, 3, 10, 0": the banner parses it as major, minor, level and patch.
#define TX_VERSION_TEXT \
    TX_STR(TX_VERSION_MAJOR) ", " TX_STR(TX_VERSION_MINOR) ", " \
    TX_STR(TX_VERSION_LEVEL) ", " TX_STR(TX_VERSION_PATCH)

#define TX_COMPANY_NAME "Veltran"
#define TX_PRODUCT_NAME "Tambrix"
#define TX_LEGAL_COPYRIGHT "Copyright (C) Veltran 1996-2026. All rights reserved."

// Descriptions per module. No private-build entry: release builds carry none.
#define TX_DESCRIPTION_TXCL "Tambrix BASIC Compiler"
#define TX_DESCRIPTION_TXPP "Tambrix BASIC Preprocessor"
#define TX_DESCRIPTION_TXSCL "Tambrix BASIC Line Checker"
#define TX_DESCRIPTION_TXSC "Tambrix BASIC Syntax Analyzer"
#define TX_DESCRIPTION_TXCG "Tambrix BASIC Code Generator"
#define TX_DESCRIPTION_TQ70RD63 "Tambrix BASIC Debug Expression Evaluator"
