// Demo step: an edit history mirrored through actions, undo and redo, saved
// as the job file's edit-log record and read back; and the message log with
// its reporter and word filters.

#include <ostream>
#include <string>

#include "Demo.h"
#include "editing/EditHistoryList.h"
#include "platform/velsys/FileSpec.h"
#include "platform/velsys/errtyp.h"
#include "platform/velsys/fil.h"
#include "services/Message.h"
#include "services/MessageLog.h"

namespace Quillon {

namespace {

using QuillonCore::EditHistoryList;
using Rect = VelSys::ql_rectangle<int>;

constexpr int kOriginX = 1000, kOriginY = 2000;

void showHistory(std::ostream& out, const char* heading, const EditHistoryList& list) {
    out << "   " << heading << ":";
    if (list.NumEntries() == 0) out << " (empty)";
    out << "\n";
    for (int i = 0; i < list.NumEntries(); ++i) {
        const QuillonCore::EditHistoryEntry* entry = list.GetEntry(i);
        out << "     " << i + 1 << ". " << VelSys::Uni16ToUTF8(entry->GetDescriptionWithCount())
            << "  [" << entry->GetBBoxes().size() << " box(es), count " << entry->GetCount()
            << "]\n";
    }
}

void editSession(EditHistoryList& list, std::ostream& out) {
    list.AddEntry(QuillonCore::kHistoryMoveScaleOrRotateObjects,
                  std::vector<Rect>{{0, 0, 500, 500}});
    list.AddEntry(QuillonCore::kHistoryMoveScaleOrRotateObjects,
                  std::vector<Rect>{{100, 100, 900, 700}});
    list.AddEntry(QuillonCore::kHistoryMoveScaleOrRotateObjects,
                  std::vector<Rect>{{-50, 0, 50, 80}});
    list.AddEntry(QuillonCore::kHistoryTrapping, std::vector<Rect>{{0, 0, 2000, 3000}});
    showHistory(out, "after four actions", list);
    list.UndoLastAction(QuillonCore::kHistoryTrapping);
    list.UndoLastAction(QuillonCore::kHistoryMoveScaleOrRotateObjects);
    showHistory(out, "after two undos", list);
    list.RedoLastAction(QuillonCore::kHistoryMoveScaleOrRotateObjects);
    showHistory(out, "after one redo", list);
}

bool saveAndReload(const EditHistoryList& list, const std::filesystem::path& path,
                   std::ostream& out) {
    VelSys::fil file;
    VelSys::errtyp error{};
    if (VelSys::saveFile(&file, &error, VelSys::FileSpec(path.string())) != 0) return false;
    list.Write(&file, kOriginX, kOriginY);
    file.Close();
    if (VelSys::openFile(&file, &error, VelSys::FileSpec(path.string())) != 0) return false;
    EditHistoryList reloaded;
    reloaded.Read(&file, kOriginX, kOriginY);
    const bool clean = VelSys::filerr(&file) == 0 && reloaded.NumEntries() == list.NumEntries();
    out << "   saved the edit log to " << path.filename().string() << " and read it back:\n";
    showHistory(out, "as read from the file (no count suffix for loaded entries)", reloaded);
    return clean;
}

void messageLog(std::ostream& out) {
    using VelSys::Core::Error;
    QuillonCore::RemoveAllRegisteredReporters();
    const auto reader = QuillonCore::RegisterReporter(u"TIFF reader");
    const auto trapper = QuillonCore::RegisterReporter(u"Trapping");
    QuillonCore::MessageLog log;
    auto make = [](const char16_t* text, Error::Severity severity,
                   QuillonCore::ReporterID reporter) {
        auto message = std::make_shared<QuillonCore::Message>(text, severity);
        QuillonCore::AssignReporterID(*message, reporter);
        return message;
    };
    log.Append({make(u"Cannot read strip 4", Error::kError, reader),
                make(u"Trap width clipped to 0.5 mm", Error::kWarning, trapper),
                make(u"Cannot read the embedded profile", Error::kWarning, reader)});
    out << "   message log: " << log.Size() << " messages\n";
    log.Clear(std::nullopt, u"cannot read");
    out << "   after clearing the words \"cannot read\": " << log.Size() << " left:\n";
    for (auto it = log.GetBegin(); it != log.GetEnd(); ++it)
        out << "     " << (*it)->what() << " (from "
            << VelSys::Uni16ToUTF8(QuillonCore::GetReporter(*QuillonCore::GetReporterID(**it)))
            << ")\n";
}

bool run(DemoContext& context) {
    EditHistoryList list;
    editSession(list, context.out);
    const bool saved = saveAndReload(list, context.outputFolder / "editlog.bin", context.out);
    messageLog(context.out);
    return saved;
}

const DemoStepRegistration kStep{
    {"50-edit-history", "Edit history, edit-log record and message log", run}};

}  // namespace

}  // namespace Quillon
