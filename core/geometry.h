// Sizes shared by the screen and the stage: 16-pixel cells, 12 rows, the 320x240 screen, 240 tile codes.
#pragma once

// A stage cell and a tile image are 16x16 pixels; pixel v lies in cell v >> 4.
constexpr int kCellSize = 16;
constexpr int kCellShift = 4;
// A stage is 12 cells high; its 320x192 view is the playfield at the top of the screen.
constexpr int kRows = 12;
constexpr int kStageHeight = kRows * kCellSize;
// The logical screen everything draws into; the HUD strip lies below the playfield.
constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;
// Columns drawn for a view: one more than fits, for a camera between cells.
constexpr int kViewColumns = kScreenWidth / kCellSize + 1;
// Tile codes 0x00..0xEF have a table entry and a tile image.
constexpr int kTileCodeCount = 240;
// The tile sheet "blocks" holds tile i at column i mod 20, row i / 20.
constexpr int kTileSheetColumns = 20;
constexpr int kTileSheetRows = kTileCodeCount / kTileSheetColumns;
