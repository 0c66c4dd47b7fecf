#include "command_line.h"
#include "directory_loading.h"
#include "display_check.h"
#include "entry_table.h"
#include "frm_ZEL.h"
#include "window_look.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

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

    // The directory loads while Qt starts and the window is built; nothing reads the table
    // before Form_Load has the result. (The global thread pool cannot be had before the
    // application exists: Form_Load sets the sorting off.)
    EntryTable table;
    const CacheFolder cache = user_cache_folder();
    std::future<LoadedDirectory> loading =
        std::async(std::launch::async, [&table, locale = QLocale(), cache] {
            return load_directory(table, ".", locale, cache);
        });

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

    frm_ZEL window(table, ".");
    if (command_line.maintain) window.enter_maintenance_mode();
    LoadedDirectory directory = loading.get();
    if (!window.Form_Load(directory.loaded, std::move(directory.prepared))) return 1;
    window.show();
    // Kept once the window is on the screen (show() has sent it there), while the table is
    // still as loaded and the look-up's lists have not yet grown beside it.
    QTimer::singleShot(0, [&] { keep_in_background(table, directory, cache); });
    return QApplication::exec();
}
