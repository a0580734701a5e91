// libFuzzer target for the recovery journal reader and the rollback plan made from it. A
// journal it accepts must encode again to one that reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/install/UndoJournal.h"
#include "setup/install/UndoLog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    pelorin::UndoJournal journal;
    try {
        journal = pelorin::DecodeUndoJournal(bytes);
    } catch (const pelorin::EUndoLogError&) {
        return 0;
    }
    // Counters answer by the length of the path, so both branches of the plan are taken.
    const pelorin::TUndoChanges plan =
        pelorin::PlanJournalRollback(journal, [](const std::string& path) -> std::optional<long long> {
            if (path.size() % 3 == 0) return std::nullopt;
            return static_cast<long long>(path.size() % 5);
        });
    if (plan.Records().size() > journal.Changes.Records().size()) std::abort();
    for (const pelorin::UndoRecord& record : plan.Records())
        if (record.kind > pelorin::ukLastKind) std::abort();

    std::string again =
        pelorin::EncodeUndoLogHeader(pelorin::UndoJournalMagic, journal.Changes.Title, journal.Changes.CommonGroup, 0);
    again += pelorin::EncodeJournalRecord(pelorin::ujInfo, {journal.AppName, journal.LogPath}, 0);
    for (const pelorin::UndoRecord& record : journal.Changes.Records()) again += pelorin::EncodeUndoRecord(record);
    const pelorin::UndoJournal reread = pelorin::DecodeUndoJournal(again);
    if (reread.Changes.Records().size() != journal.Changes.Records().size()) std::abort();
    if (reread.AppName != journal.AppName || reread.LogPath != journal.LogPath) std::abort();
    return 0;
}
