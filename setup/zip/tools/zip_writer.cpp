#include "setup/zip/tools/zip_writer.h"

#include <zlib.h>

#include <ctime>
#include <stdexcept>

namespace lumorix::zip {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2 failed");
  std::vector<uint8_t> out(deflateBound(&stream, data.size()));
  stream.next_in = const_cast<Bytef*>(data.data());
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  int status = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (status != Z_STREAM_END) throw std::runtime_error("deflate failed");
  return out;
}

}  // namespace

uint32_t DosDateTime(int64_t unixTime, TimeZone zone) {
  std::time_t time = static_cast<std::time_t>(unixTime);
  std::tm local{};
  if (zone == TimeZone::Utc)
    gmtime_r(&time, &local);
  else
    localtime_r(&time, &local);
  int year = local.tm_year + 1900;
  if (year < 1980) return (1u << 5 | 1u) << 16;  // 1980-01-01
  uint32_t date = static_cast<uint32_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  uint32_t clock = static_cast<uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
  return date << 16 | clock;
}

std::vector<uint8_t> WritePayloadArchive(const std::vector<PayloadEntry>& entries) {
  std::vector<uint8_t> archive, directory;
  for (const PayloadEntry& entry : entries) {
    const bool folder = !entry.name.empty() && entry.name.back() == '/';
    const uint16_t method = folder ? 0 : 8;
    const uint32_t attributes = folder ? 0x30 : 0x20;
    const uint32_t crc = static_cast<uint32_t>(crc32(0, entry.data.data(), static_cast<uInt>(entry.data.size())));
    const std::vector<uint8_t> packed = folder ? std::vector<uint8_t>{} : Deflate(entry.data);
    const auto offset = static_cast<uint32_t>(archive.size());

    Put32(archive, 0x04034B50);
    Put16(archive, 20);  // version needed
    Put16(archive, 2);   // flags
    Put16(archive, method);
    Put32(archive, entry.dosDateTime);
    Put32(archive, crc);
    Put32(archive, static_cast<uint32_t>(packed.size()));
    Put32(archive, static_cast<uint32_t>(entry.data.size()));
    Put16(archive, static_cast<uint32_t>(entry.name.size()));
    Put16(archive, 0);
    archive.insert(archive.end(), entry.name.begin(), entry.name.end());
    archive.insert(archive.end(), packed.begin(), packed.end());

    Put32(directory, 0x02014B50);
    Put16(directory, 20);  // made by: MS-DOS (high byte 0), version 2.0
    Put16(directory, 20);
    Put16(directory, 2);
    Put16(directory, method);
    Put32(directory, entry.dosDateTime);
    Put32(directory, crc);
    Put32(directory, static_cast<uint32_t>(packed.size()));
    Put32(directory, static_cast<uint32_t>(entry.data.size()));
    Put16(directory, static_cast<uint32_t>(entry.name.size()));
    Put16(directory, 0);  // extra
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, attributes);
    Put32(directory, offset);
    directory.insert(directory.end(), entry.name.begin(), entry.name.end());
  }
  const auto directoryStart = static_cast<uint32_t>(archive.size());
  archive.insert(archive.end(), directory.begin(), directory.end());
  Put32(archive, 0x06054B50);
  Put16(archive, 0);
  Put16(archive, 0);
  Put16(archive, static_cast<uint32_t>(entries.size()));
  Put16(archive, static_cast<uint32_t>(entries.size()));
  Put32(archive, static_cast<uint32_t>(directory.size()));
  Put32(archive, directoryStart);
  Put16(archive, 0);
  return archive;
}

}  // namespace lumorix::zip
