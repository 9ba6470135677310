#include "ui/public_fetch.h"

#include <filesystem>
#include <memory>

#include "builder/schema.h"
#include "core/folder_lock.h"
#include "core/wait_indicator.h"
#include "i18n/message_ids.h"
#include "program/program.h"
#include "program/startup.h"
#include "update/public_source.h"
#include "update/server_settings.h"

namespace morvela {

namespace fs = std::filesystem;

bool NoUpdateServerSet(const Program& p) {
  const UpdateServer server = ReadUpdateServer(p.SettingsPath());
  return server.error.empty() && server.base_url == kDefaultUpdateServer;
}

void OfferPublicFetch(Program& p, const StartBackground& start, std::function<void()> changed) {
  const Messages& m = p.messages;
  if (!p.ui.AskYesNo(m.Msg(msg::kAskFetchPublicSource))) return;
  if (DatabaseOrigin(p.dm.ADOConnection1) == "demo") {
    p.ui.ShowMessage(MessageKind::kWarning, m.Msg(msg::kFetchIntoDemoRefused));
    return;
  }
  const SourceAddress address = ReadSourceAddress(p.SettingsPath());
  if (!address.error.empty()) {
    p.ui.ShowDetailedMessage(MessageKind::kError, m.Msg(msg::kFetchFailed), address.error);
    return;
  }
  FetchOptions options;
  options.base_url = address.url;
  options.today = p.today;
  const std::string folder = p.folder;
  struct Outcome {
    FetchReport report;
    std::string failure;
  };
  auto out = std::make_shared<Outcome>();
  // The worker has copies of everything it reads: the window may go on meanwhile.
  start(
      [folder, options, messages = m, out](const std::atomic<bool>& cancel,
                                           const BackgroundProgress& progress) {
        try {
          FetchOptions mine = options;
          mine.cancel = &cancel;
          // The same progress as the command line's: the file being fetched, of how many.
          mine.progress = [&progress, &messages](int done, int total, const std::string& path) {
            if (path.empty()) return;
            progress(done, total,
                     messages.Filled(msg::kFetchProgress,
                                     {std::to_string(done + 1), std::to_string(total), path}));
          };
          if (fs::exists(folder + "team_aliases.csv"))
            mine.aliases = TeamAliases::Load(folder + "team_aliases.csv");
          FolderLock lock(folder, kWriterPatience, "fetch");
          if (!lock.Held()) {
            out->failure = FolderLock::BusyMessage(folder);
            return;
          }
          Tdm dm;
          dm.ADOConnection1.SetConnectionString(MakeConnectionString(folder, DatabasePassword()));
          dm.ADOConnection1.Open();
          NullWaitIndicator wait;
          out->report = FetchFromSource(dm, folder, wait, messages, mine);
        } catch (const std::exception& e) {
          out->failure = e.what();
        }
      },
      [&p, out, changed = std::move(changed)] {
        const Messages& m = p.messages;
        const FetchReport& r = out->report;
        std::string warnings;
        for (const std::string& w : r.warnings) warnings += w + "\n";
        for (const std::string& e : r.import.errors) warnings += e + "\n";
        if (!out->failure.empty() || r.files_new + r.files_changed + r.files_unchanged == 0) {
          p.ui.ShowDetailedMessage(MessageKind::kError, m.Msg(msg::kFetchFailed),
                                   out->failure.empty() ? warnings : out->failure);
        } else if (r.NothingNew()) {
          p.ui.ShowDetailedMessage(MessageKind::kInformation, m.Msg(msg::kFetchNothingNew),
                                   warnings);
        } else {
          int fixtures = 0;
          for (const auto& [league, c] : r.import.leagues) fixtures += c.fixtures;
          p.ui.ShowDetailedMessage(
              MessageKind::kInformation,
              m.Filled(msg::kFetchSummary,
                       {std::to_string(r.files_new), std::to_string(r.files_changed),
                        std::to_string(r.files_unchanged), std::to_string(r.import.Inserted()),
                        std::to_string(r.import.Updated()), std::to_string(fixtures)}),
              warnings);
        }
        changed();
      });
}

}  // namespace morvela
