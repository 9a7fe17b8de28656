// Stored and deflated entries.
#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "setup/zip/decoders.h"
#include "setup/zip/zip_types.h"

namespace lumorix::zip {

int32_t DecodeStored(EntryInput& input, OutputWindow& output, int64_t compressedSize) {
  int64_t left = compressedSize;
  while (left != 0) {
    if (!input.Fill()) return compressedSize < 0 ? zrOk : zrReadFailed;
    size_t count =
        std::min({input.Available(), output.Room(),
                  left < 0 ? input.Available() : static_cast<size_t>(std::min<int64_t>(left, kOutputWindowSize))});
    std::memcpy(output.Free(), input.Data(), count);
    input.Consume(count);
    if (left > 0) left -= static_cast<int64_t>(count);
    if (!output.Advance(count)) return zrWriteFailed;
  }
  return zrOk;
}

namespace {
class Inflater {
 public:
  Inflater() { ok_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
  ~Inflater() {
    if (ok_) inflateEnd(&stream_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  bool Ok() const { return ok_; }
  z_stream& Stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ok_ = false;
};
}  // namespace

int32_t DecodeDeflated(EntryInput& input, OutputWindow& output) {
  Inflater inflater;
  if (!inflater.Ok()) return zrBadData;
  z_stream& stream = inflater.Stream();
  for (;;) {
    if (!input.Fill()) return zrReadFailed;
    stream.next_in = const_cast<Bytef*>(input.Data());
    stream.avail_in = static_cast<uInt>(input.Available());
    stream.next_out = output.Free();
    stream.avail_out = static_cast<uInt>(output.Room());
    int status = inflate(&stream, Z_NO_FLUSH);
    input.Consume(input.Available() - stream.avail_in);
    size_t produced = output.Room() - stream.avail_out;
    if (!output.Advance(produced)) return zrWriteFailed;
    if (status == Z_STREAM_END) return zrOk;
    if (status == Z_DATA_ERROR || status == Z_NEED_DICT || status == Z_MEM_ERROR) return zrBadData;
    if (status == Z_BUF_ERROR && produced == 0 && stream.avail_in != 0) return zrBadData;
  }
}

}  // namespace lumorix::zip
