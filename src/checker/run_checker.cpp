#include "checker/run_checker.h"

#include <filesystem>
#include <system_error>

#include "checker/html_preview.h"
#include "checker/json_report.h"
#include "checker/options.h"
#include "checker/plain_report.h"
#include "trace/trace_log.h"

namespace keyvane::checker {
namespace {

// The files as the keyboard reads them, keeping the bytes of the file read last for the preview.
class BytesKeepingFiles final : public platform::Files {
 public:
  explicit BytesKeepingFiles(platform::Files& reader) : reader_(reader) {}

  bool ReadAll(const std::string& path, std::string& bytes) override {
    const bool read = reader_.ReadAll(path, bytes);
    if (read) fileBytes_ = bytes;
    return read;
  }
  // Never asked: loading writes nothing.
  std::optional<std::uint64_t> Append(const std::string&, std::string_view) override { return std::nullopt; }
  void Remove(const std::string&) override {}
  void Rename(const std::string&, const std::string&) override {}
  std::optional<platform::FileStamp> Stamp(const std::string& path) override { return reader_.Stamp(path); }

  // The bytes of the file read last, handed over.
  std::string TakeFileBytes() { return std::move(fileBytes_); }

 private:
  platform::Files& reader_;
  std::string fileBytes_;
};

constexpr const char* kProgram = "keyvane-check: ";

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return a == b || std::filesystem::equivalent(a, b, ec);
}

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

std::string CannotRead(const Options& o) {
  std::string message = "cannot read the button file \"" + o.buttonFile + "\"";
  if (IsDirectory(o.buttonFile)) message += ": it is a directory";
  if (!o.buttonFileGiven) message += " (no FILE given, so dovaD.BTN in the current directory was used)";
  return message;
}

}  // namespace

CheckResult CheckButtonFile(platform::Files& files, const std::string& path) {
  BytesKeepingFiles reader(files);
  CheckResult result;
  result.loaded = btnfile::LoadButtonFile(reader, path);
  result.diagnostics = btnfile::FindDiagnostics(result.loaded);
  result.trace = trace::WithCrLf(result.loaded.readTrace);
  result.fileBytes = reader.TakeFileBytes();
  return result;
}

int RunChecker(const std::vector<std::string>& args, platform::Files& files, std::ostream& out, std::ostream& err) {
  const ParsedArguments parsed = ParseArguments(args);
  if (!parsed.ok()) {
    err << kProgram << parsed.error << "\nTry \"keyvane-check --help\".\n";
    return kExitError;
  }
  const Options& o = parsed.options;
  if (o.help) {
    out << UsageText();
    return kExitClean;
  }
  if (o.version) {
    out << "keyvane-check " << KEYVANE_VERSION << "\n";
    return kExitClean;
  }
  if (!o.tracePath.empty() && SameFile(o.tracePath, o.buttonFile)) {
    err << kProgram << "the trace file \"" << o.tracePath << "\" is the button file itself; choose another OUT\n";
    return kExitError;
  }
  if (!o.htmlPath.empty() && SameFile(o.htmlPath, o.buttonFile)) {
    err << kProgram << "the preview file \"" << o.htmlPath << "\" is the button file itself; choose another OUT.html\n";
    return kExitError;
  }
  if (!o.htmlPath.empty() && !o.tracePath.empty() && SameFile(o.htmlPath, o.tracePath)) {
    err << kProgram << "the preview and the trace cannot both go to \"" << o.htmlPath << "\"\n";
    return kExitError;
  }
  const CheckResult result = CheckButtonFile(files, o.buttonFile);
  if (!o.tracePath.empty()) {
    files.Remove(o.tracePath);
    if (!files.Append(o.tracePath, result.trace)) {
      err << kProgram << "cannot write the trace file \"" << o.tracePath << "\"\n";
      return kExitError;
    }
  }
  // A directory opens on some hosts and then reads as empty; it is still no button file.
  if (!result.loaded.fileRead || IsDirectory(o.buttonFile)) {
    err << kProgram << CannotRead(o) << "\n";
    return kExitError;
  }
  if (!o.htmlPath.empty()) {
    files.Remove(o.htmlPath);
    if (!files.Append(o.htmlPath, HtmlPreview(result, o.buttonFile))) {
      err << kProgram << "cannot write the preview file \"" << o.htmlPath << "\"\n";
      return kExitError;
    }
  }
  if (o.json) {
    WriteJsonReport(result, out);
  } else {
    out << PlainReport(result, o.buttonFile);
  }
  return result.diagnostics.empty() ? kExitClean : kExitDiagnostics;
}

}  // namespace keyvane::checker
