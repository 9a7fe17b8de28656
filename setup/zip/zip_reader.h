#pragma once
// Reads a ZIP archive file through its central directory: lists entries and
// extracts them into a folder, reporting progress to a handler.
#include <cstdint>
#include <string>

#include "setup/zip/entry_names.h"
#include "setup/zip/zip_types.h"

namespace lumorix::zip {

// True for an archive; `offset` is where its first local header starts (0 for a plain one).
bool IsZipArchive(const std::string& fileName, int32_t& offset);
// Offset of the first local-header signature among the file's first bytes, or -1.
int32_t LocateLocalSignature(const std::string& fileName);
// Total uncompressed size; the compressed total through `compressed`.
int32_t ArchiveTotals(const std::string& fileName, int32_t& compressed);

int32_t FindFirstEntry(const std::string& fileName, TZipRec& rec);
int32_t FindNextEntry(TZipRec& rec);
void EndEntryScan(TZipRec& rec);

bool MatchMask(const std::string& mask, const std::string& name);

int32_t ExtractEntry(const std::string& archive, const std::string& target, int32_t headerOffset);
// Extracts the matching entries into `folder`; the number extracted, or a negative result.
int32_t ExtractMatching(const std::string& archive, const std::string& folder, const std::string& mask,
                        const ReportHandler& handler);
// Reports every matching entry; the number of them, or a negative result.
int32_t ListMatching(const std::string& archive, const std::string& mask, const ReportHandler& handler);

// Ratio of a record: 100 - compressed * 100 / size, with no division by zero.
uint8_t RatioOf(int32_t size, int32_t compressedSize);

}  // namespace lumorix::zip
