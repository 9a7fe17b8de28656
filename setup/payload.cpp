#include "setup/payload.h"

#include <stdexcept>

#include "common/setup_rules.h"
#include "platform/handle.h"
#include "platform/text.h"
#include "setup/zip/zip_reader.h"

namespace lumorix::setup {

namespace {

// The progress of one extraction, as the two bars show it.
class ShowProgress {
 public:
  ShowProgress(TInstallState& state, ExtractionResult& result) : state_(state), result_(result) {}

  void operator()(int32_t count, const zip::TReportRec& report) {
    InstallView& view = *state_.view;
    switch (report.Status) {
      case zip::rsFileStarting:
        view.ProcessMessages();
        fileBytes_ = 0;
        view.SetStatus(L"Unpacing: " + Widen(report.FileName));
        view.ProcessMessages();
        break;
      case zip::rsFileProgress:
        if (count <= 0) break;
        totalBytes_ += count;
        view.ProcessMessages();
        // The file bar shows the bytes written before this block.
        view.SetFileProgress(ProgressPosition(fileBytes_, report.Size));
        view.SetTotalProgress(ProgressPosition(totalBytes_, state_.TotalSize));
        fileBytes_ += count;
        view.ProcessMessages();
        break;
      case zip::rsFileDone:
        view.ProcessMessages();
        fileBytes_ = 0;
        view.SetStatus(L"");
        view.ProcessMessages();
        break;
      case zip::rsArchiveDone:
        view.ProcessMessages();
        fileBytes_ = 0;
        view.ProcessMessages();
        break;
      case zip::rsFileFailed:
        result_.problems.push_back({Widen(report.FileName), ZipResultText(count)});
        break;
      default:
        // A run that ends early carries its result in the status.
        if (count == zip::kRunAbortedCount)
          result_.problems.push_back({Widen(report.FileName), ZipResultText(report.Status)});
        break;
    }
  }

 private:
  TInstallState& state_;
  ExtractionResult& result_;
  int64_t fileBytes_ = 0;
  int64_t totalBytes_ = 0;
};

}  // namespace

ResourceArchive::ResourceArchive(HMODULE module) {
  HRSRC resource = FindResourceW(module, L"RCD", MAKEINTRESOURCEW(10));  // RT_RCDATA
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) throw std::runtime_error("The installation data is missing from this program");
  archive_ = std::make_unique<zip::MemoryArchive>(bytes, SizeofResource(module, resource));
}

ExtractionResult ExtractPayload(const std::string& archiveName, TInstallState& state) {
  ExtractionResult result;
  InstallView& view = *state.view;
  int32_t compressed = 0;
  state.TotalSize = zip::ArchiveTotals(archiveName, compressed);
  view.SetFileProgress(0);
  view.SetTotalProgress(0);

  int32_t extracted =
      zip::ExtractMatching(archiveName, Narrow(state.InstallFolder), "*.*", ShowProgress(state, result));
  if (extracted == zip::zrMissingArgument || extracted == zip::zrNotZip || extracted == zip::zrNoCentralDirectory) {
    // Nothing was extracted: there is nothing to log or register.
    result.problems.push_back({L"", ZipResultText(extracted)});
    return result;
  }
  result.archiveRead = true;

  state.UninstallLog = LineFile(state.InstallFolder + L"Uninstall.log");
  state.FolderList.clear();
  std::vector<std::wstring> files;
  (void)zip::ListMatching(archiveName, "*.*", [&](int32_t, const zip::TReportRec& report) {
    if (report.Status == zip::rsArchiveDone) return;
    std::wstring name = Widen(report.FileName);
    if (!name.empty() && name.back() == L'\\') {
      state.FolderList.push_back(name);
      SortFolderList(state.FolderList);
    } else {
      files.push_back(name);
    }
  });
  // The log lists every file of the archive, whether or not it landed.
  for (const std::wstring& file : files) state.UninstallLog.WriteLine(file);
  state.InstalledFiles = std::move(files);
  return result;
}

std::wstring ZipResultText(int32_t result) {
  switch (result) {
    case zip::zrCrcMismatch:
      return L"its data is damaged (checksum mismatch)";
    case zip::zrWriteFailed:
      return L"the file cannot be created or written";
    case zip::zrReadFailed:
      return L"the installation data cannot be read (it ends too early)";
    case zip::zrBadData:
      return L"the installation data is damaged";
    case zip::zrUnsafeName:
      return L"its name points outside the installation folder or names a device";
    case zip::zrSizeExceeded:
      return L"its data is damaged (longer than recorded)";
    case zip::zrOverlappingEntry:
      return L"the installation data is damaged (entries overlap)";
    case zip::zrUnsupportedMethod:
      return L"it is packed in a way this installer cannot unpack";
    case zip::zrEncrypted:
      return L"it is encrypted";
    case zip::zrBusy:
      return L"another extraction is running";
    case zip::zrNoCentralDirectory:
    case zip::zrNotZip:
    case zip::zrCannotOpen:
      return L"the installation data is damaged or incomplete";
    case zip::zrArchiveOpenFailed:
      return L"the installation data cannot be opened";
    case zip::zrMissingArgument:
      return L"no installation folder was given";
    default:
      return L"error " + std::to_wstring(result);
  }
}

}  // namespace lumorix::setup
