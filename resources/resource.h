#pragma once

#define IDI_TINTELO 1
#define IDC_TINTELO_HAND 2
#define IDR_PALETTE_GIF 3
