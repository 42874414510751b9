#pragma once

#define IDI_TINTELO 1
#define IDC_TINTELO_HAND 2
#define IDB_PALETTE 3
