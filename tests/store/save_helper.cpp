// Another program at the data file, for the tests that need two:
//   store_save_helper save <folder> <surname> [<step> <milliseconds>]
//     loads the data file, says "loaded", waits for a line, gives entry 1 the surname and saves,
//     pausing at <step> (checked, written, kept, replacing) after saying "paused"; ends with 0
//     when it saved, 3 when it was told that someone else saved first, 1 otherwise.
//   store_save_helper hold <folder>
//     holds the maintenance lock, says "held", and lets go when its input ends.
#include "data_file.h"
#include "data_file_lock.h"
#include "entry_fields.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <thread>

namespace {

void say(const char* what) {
    std::printf("%s\n", what);
    std::fflush(stdout);
}

int save(const std::filesystem::path& folder, const std::string& surname, const std::string& step,
         int pause_ms) {
    EntryTable table;
    if (!read_data_base(table, folder).ok()) return 1;
    say("loaded");
    std::string line;
    std::getline(std::cin, line);
    const std::map<std::string, SaveStep> steps = {{"checked", SaveStep::Checked},
                                                   {"written", SaveStep::Written},
                                                   {"kept", SaveStep::VersionKept},
                                                   {"replacing", SaveStep::Replacing}};
    set_save_step_hook_for_testing([&](SaveStep at) {
        if (steps.count(step) && steps.at(step) == at) {
            say("paused");
            std::this_thread::sleep_for(std::chrono::milliseconds(pause_ms));
        }
        return true;
    });
    table.set_text(1, SurnameSlot, surname);
    table.TableModified = 1;
    bool changed_by_others = false;
    const Result saved = save_data_base(table, folder, changed_by_others);
    std::printf("%s\n", saved.ok() ? "saved" : qPrintable(saved.message));
    return saved.ok() ? 0 : changed_by_others ? 3 : 1;
}

int hold(const std::filesystem::path& folder) {
    DataFileLock lock(folder / DataFileName, DataFileLock::Maintenance);
    if (lock.take() != QLockFile::NoError) return 1;
    say("held");
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode == "save" && argc >= 4)
        return save(argv[2], argv[3], argc > 5 ? argv[4] : "", argc > 5 ? std::stoi(argv[5]) : 0);
    if (mode == "hold") return hold(argv[2]);
    std::fprintf(stderr, "usage: store_save_helper save <folder> <surname> [<step> <ms>] | "
                         "hold <folder>\n");
    return 2;
}
