// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Byte offsets of the OBJD body fields the program reads and writes; each is a 16-bit
// little-endian value.
namespace ObjdField
{
inline constexpr int GroupID = 20;
inline constexpr int TileIndex = 22;
// The object's 32-bit GUID: words 14 (low half) and 15 (high half), little-endian.
inline constexpr int Guid = 28;
inline constexpr int Disabled = 32;
inline constexpr int Price = 36;
inline constexpr int RoomSort = 78;
inline constexpr int FunctionSort = 80;
inline constexpr int CatalogStringsID = 82;
inline constexpr int BuildModeType = 138;
inline constexpr int SubFunctionSort = 188;
inline constexpr int DowntownSort = 190;
inline constexpr int VacationSort = 194;
inline constexpr int CommunitySort = 198;
inline constexpr int StudioTownSort = 206;
inline constexpr int MagicTownSort = 208;
inline constexpr int ClassicBodySize = 216;
} // namespace ObjdField

// Slot k of a SortSet lives at this OBJD byte offset.
inline constexpr int kSortSlotOffsets[9] = {
    ObjdField::FunctionSort,   ObjdField::SubFunctionSort, ObjdField::RoomSort,
    ObjdField::DowntownSort,   ObjdField::VacationSort,    ObjdField::CommunitySort,
    ObjdField::StudioTownSort, ObjdField::MagicTownSort,   ObjdField::BuildModeType};
