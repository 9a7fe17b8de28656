# DirectShow as on Windows 8 to 11: no filter reads MP4, MOV or MKV. Wine's
# GStreamer splitter, which reads them for DirectShow, is taken out of the
# DirectShow filter category, so the graph fails on those files and the
# player's Media Foundation path has to play them.
prepare_prefix() {
  wine reg delete 'HKCR\CLSID\{083863F1-70DE-11D0-BD40-00A0C911CE86}\Instance\{F9D8D64E-A144-47DC-8EE0-F53498372C29}' /f
}
