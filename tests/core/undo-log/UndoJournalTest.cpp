// The recovery journal: what a killed installation leaves must read back to exactly the changes
// that had begun, and the plan must never lower a counter that was not raised.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "setup/install/UndoJournal.h"
#include "setup/install/UndoLog.h"

namespace pelorin {
namespace {

const std::string kApp = "Sample Application";
const std::string kLog = "C:\\Program Files\\Sample\\REMOVE.LOG";

// A journal as an installation writes it: the start, then one record per change begun.
std::string SampleJournal() {
    return EncodeJournalStart(kApp, kLog, 1) + EncodeJournalRecord(ukDirectory, {"C:\\Program Files\\Sample"}, 0) +
           EncodeJournalRecord(ukFile, {"C:\\Program Files\\Sample\\zp00A1B2.tmp", ""}, 0) +
           EncodeJournalRecord(ukFile, {"C:\\Program Files\\Sample\\app.exe", ""}, ufExisted) +
           EncodeJournalRecord(ujSharedCount, {"C:\\WINDOWS\\FERROW.EXE", "", "3"}, ufSharedCount) +
           EncodeJournalRecord(ukRegValue, {"Software\\Sample", "Path"}, 0x80000001u);
}

TEST(UndoJournal, ReadsBackTheStartAndEveryRecordInTheUndoLogsRecordFormat) {
    const std::string bytes = SampleJournal();
    EXPECT_EQ(bytes.substr(0, 8), "zfw102bj");
    // The records are the undo log's own: the same bytes a REMOVE.LOG holds for them.
    UndoRecord record;
    record.kind = ukRegValue;
    record.value = 0x80000001u;
    record.data = JoinUndoStrings({"Software\\Sample", "Path"});
    EXPECT_EQ(bytes.substr(bytes.size() - EncodeUndoRecord(record).size()), EncodeUndoRecord(record));

    const UndoJournal journal = DecodeUndoJournal(bytes);
    EXPECT_EQ(journal.AppName, kApp);
    EXPECT_EQ(journal.LogPath, kLog);
    EXPECT_EQ(journal.Changes.Title, kApp);
    EXPECT_EQ(journal.Changes.CommonGroup, 1);
    ASSERT_EQ(journal.Changes.Records().size(), 5u);
    EXPECT_EQ(journal.Changes.Records()[2].String(0), "C:\\Program Files\\Sample\\app.exe");
    EXPECT_EQ(journal.Changes.Records()[2].value, ufExisted);
    EXPECT_EQ(journal.Changes.Records()[3].kind, ujSharedCount);
    EXPECT_EQ(journal.Changes.Records()[3].String(2), "3");
}

TEST(UndoJournal, AJournalCutAnywhereKeepsTheWholeRecordsBeforeTheCut) {
    const std::string bytes = SampleJournal();
    const std::size_t start = EncodeJournalStart(kApp, kLog, 1).size();
    std::size_t whole = 0, next = start;
    std::map<std::size_t, std::size_t> ends;  // offset after a record -> records before it
    const UndoJournal all = DecodeUndoJournal(bytes);
    for (const UndoRecord& r : all.Changes.Records()) {
        next += EncodeUndoRecord(r).size();
        ends[next] = ++whole;
    }
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        const UndoJournal journal = DecodeUndoJournal(bytes.substr(0, cut));
        std::size_t expected = 0;
        for (const auto& [end, count] : ends)
            if (end <= cut) expected = count;
        EXPECT_EQ(journal.Changes.Records().size(), expected) << "cut at " << cut;
        // Before the start is whole the installation had changed nothing and has no name yet.
        EXPECT_EQ(journal.AppName, cut >= start ? kApp : "") << "cut at " << cut;
    }
}

TEST(UndoJournal, RefusesWhatNoInstallationWrote) {
    const auto reason = [](const std::string& bytes) -> std::string {
        try {
            DecodeUndoJournal(bytes);
        } catch (const EUndoLogError& e) {
            return e.what();
        }
        return "accepted";
    };
    TUndoChanges log;
    log.Title = kApp;
    log.AddChange(ukDirectory, {"C:\\x"}, 0);
    EXPECT_EQ(reason(EncodeUndoLog(log)), "it does not start with the signature of a recovery journal");

    const std::string header = EncodeUndoLogHeader(UndoJournalMagic, kApp, 0, 0);
    EXPECT_EQ(reason(header + EncodeJournalRecord(ukDirectory, {"C:\\x"}, 0)), "it does not name its application");
    EXPECT_EQ(reason(EncodeJournalStart(kApp, kLog, 0) + EncodeJournalRecord(ujInfo, {"Other", ""}, 0)),
              "it names its application twice");
    std::string oversized = EncodeJournalStart(kApp, kLog, 0) + EncodeJournalRecord(ukDirectory, {"C:\\x"}, 0);
    oversized[oversized.size() - 5 - 2] = '\xFF';  // the length field of the last record
    oversized[oversized.size() - 5 - 1] = '\xFF';
    EXPECT_EQ(reason(oversized), "record 2 claims more data than a record can hold");
    std::string wideTitle = SampleJournal();
    wideTitle[10] = 64;
    EXPECT_EQ(reason(wideTitle), "the title length is out of range");
}

TEST(UndoJournal, ThePlanLowersACounterOnlyWhenItNoLongerReadsAsBeforeTheRaise) {
    const std::string shared = "C:\\WINDOWS\\SYSTEM\\SHARED.DLL";
    const std::string fresh = "C:\\WINDOWS\\FERROW.EXE";
    const std::string bytes =
        EncodeJournalStart(kApp, kLog, 0) + EncodeJournalRecord(ukDirectory, {"C:\\App"}, 0) +
        EncodeJournalRecord(ujSharedCount, {shared, "C:\\App\\zp1.tmp", "1"}, ufSharedCount | ufRegistered) +
        EncodeJournalRecord(ujSharedCount, {fresh, "", ""}, ufSharedCount) + EncodeJournalRecord(0x55, {"unknown"}, 0) +
        EncodeJournalRecord(ukIniSection, {"", "Sample"}, 0);
    const UndoJournal journal = DecodeUndoJournal(bytes);

    std::map<std::string, std::optional<long long>> counters;
    const auto plan = [&] {
        return PlanJournalRollback(journal, [&](const std::string& path) { return counters[path]; });
    };
    // Both raises happened: both are taken back, as the rollback's own shared-file records.
    counters = {{shared, 2}, {fresh, 1}};
    TUndoChanges both = plan();
    ASSERT_EQ(both.Records().size(), 4u);
    EXPECT_EQ(both.Records()[0].kind, ukDirectory);
    EXPECT_EQ(both.Records()[1].kind, ukFile);
    EXPECT_EQ(both.Records()[1].String(0), shared);
    EXPECT_EQ(both.Records()[1].String(1), "C:\\App\\zp1.tmp");
    EXPECT_EQ(both.Records()[1].value, ufSharedCount | ufRegistered);
    EXPECT_EQ(both.Records()[2].String(0), fresh);
    EXPECT_EQ(both.Records()[3].kind, ukIniSection);

    // Killed before the second raise, or a first recovery already lowered both: a counter that
    // reads as it did before is another product's, and stays.
    counters = {{shared, 2}, {fresh, std::nullopt}};
    EXPECT_EQ(plan().Records().size(), 3u);
    counters = {{shared, 1}, {fresh, std::nullopt}};
    EXPECT_EQ(plan().Records().size(), 2u);
}

TEST(UndoJournal, FileNamesFollowTheApplicationWhateverItsCase) {
    const std::string name = JournalFileName("Sample Application");
    EXPECT_EQ(name.size(), std::string("PELORIN-12345678.JNL").size());
    EXPECT_EQ(name, JournalFileName("SAMPLE application"));
    EXPECT_NE(name, JournalFileName("Sample Application 2"));
    EXPECT_TRUE(IsJournalFileName(name));
    EXPECT_TRUE(IsJournalFileName("pelorin-0a1b2c3d.jnl"));
    EXPECT_FALSE(IsJournalFileName("PELORIN-0A1B2C3G.JNL"));
    EXPECT_FALSE(IsJournalFileName("PELORIN-0A1B2C3.JNL"));
    EXPECT_FALSE(IsJournalFileName("PELORIN-0A1B2C3D.LOG"));
}

}  // namespace
}  // namespace pelorin
