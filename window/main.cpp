#include "command_line.h"
#include "data_file.h"
#include "data_file_lock.h"
#include "directory_loading.h"
#include "display_check.h"
#include "earlier_cache_removal.h"
#include "directory.h"
#include "frm_ZEL.h"
#include "message_box.h"
#include "window_look.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>
#include <QThreadPool>

#include <cstdio>
#include <future>
#include <optional>
#include <utility>

#include <malloc.h>

namespace {

constexpr const char* AppId = "org.zelkav.Directory";

// The icon the package installs, or the same picture built into the program.
QIcon program_icon() {
    return QIcon::fromTheme(QString::fromLatin1(AppId),
                            QIcon(QStringLiteral(":/icons/org.zelkav.Directory.svg")));
}

// Maintenance mode for one window at a time: another is told who holds the data file, and
// opens it for reading only (the default, which loses nothing) or not at all. False: Cancel.
bool hold_for_maintenance(DataFileLock& hold, frm_ZEL& window) {
    if (hold.take() != QLockFile::LockFailedError) {
        window.enter_maintenance_mode();
        return true;
    }
    const QString holder = hold.holder();
    const QString question =
        QStringLiteral("The data file \"%1\" is open in maintenance mode by %2. Open it for "
                       "reading only?")
            .arg(QDir::toNativeSeparators(
                     QFileInfo(QString::fromLatin1(DataFileName)).absoluteFilePath()),
                 holder.isEmpty() ? QStringLiteral("another program") : holder);
    return ask_among(&window, question,
                     {QStringLiteral("Open for reading only"), QStringLiteral("Cancel")}) !=
           QStringLiteral("Cancel");
}

} // namespace

int main(int argc, char* argv[]) {
    // One heap for every thread: the look-up's sorting threads would otherwise each keep an
    // arena of their own, holding a few MiB of freed memory apiece. And a fixed size from which
    // blocks are mapped of their own: glibc raises it to the largest block freed, after which
    // the sorting's large scratch blocks stay behind in the heap.
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    QCoreApplication::setApplicationName(QStringLiteral("zel-kav"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELKAV_VERSION));
    CommandLine command_line;
    {
        // Read before any window exists, so that --help and --version need no display.
        QCoreApplication reader(argc, argv);
        command_line = parse_command_line(QCoreApplication::arguments());
    }
    if (command_line.exit_status) {
        std::fputs(command_line.output.toLocal8Bit().constData(),
                   command_line.to_stderr ? stderr : stdout);
        return *command_line.exit_status;
    }

    // Without a display Qt would abort with advice about reinstalling; say what is missing.
    if (const std::optional<QString> missing = missing_display(display_environment())) {
        std::fputs(missing->toLocal8Bit().constData(), stderr);
        return 1;
    }

    // The directory loads while Qt starts and the window is built; the loading thread hands its
    // table over whole when it is done. (The global thread pool cannot be had before the
    // application exists: Form_Load sets the sorting off.)
    std::future<LoadedDirectory> loading = std::async(
        std::launch::async, [locale = QLocale()] { return load_directory(".", locale); });

    // Qt sees none of the arguments (no -style, -platform ...): the options above are all.
    int qt_argc = 1;
    std::optional<DisplayFailureGuard> display_failure;
    display_failure.emplace();
    QApplication application(qt_argc, argv);
    display_failure.reset();
    // Task bars link the window to its menu entry by these.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(AppId));
    QApplication::setWindowIcon(program_icon());
    use_window_look();

    Directory directory;
    frm_ZEL window(directory, ".");
    DataFileLock maintenance_hold(std::filesystem::path(".") / DataFileName,
                                  DataFileLock::Maintenance);
    if (command_line.maintain && !hold_for_maintenance(maintenance_hold, window)) return 0;
    LoadedDirectory loaded = loading.get();
    directory.adopt(std::move(loaded.table));
    if (!window.Form_Load(loaded.loaded, std::move(loaded.prepared))) return 1;
    window.show();
    // The global pool is waited for when the application ends.
    QThreadPool::globalInstance()->start(
        [folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation)] {
            remove_earlier_caches(folder);
        });
    return QApplication::exec();
}
