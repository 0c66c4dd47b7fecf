#include "test_registry.h"

#include <QTest>
#ifdef ZELKAV_TEST_WIDGETS
#include "window_look.h"

#include <QApplication>
#else
#include <QCoreApplication>
#endif

#include <cstring>
#include <map>
#include <string>

namespace {
std::map<std::string, TestFactory>& registry() {
    static std::map<std::string, TestFactory> classes;
    return classes;
}
} // namespace

bool register_test_class(const char* name, TestFactory make) {
    registry()[name] = make;
    return true;
}

int main(int argc, char* argv[]) {
#ifdef ZELKAV_TEST_WIDGETS
    // Widgets get the window's fonts and style, so that they measure as in the program.
    QApplication application(argc, argv);
    use_window_look();
#else
    QCoreApplication application(argc, argv);
#endif
    const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
    int failures = 0;
    bool found = false;
    for (const auto& [name, make] : registry()) {
        if (only && name != only) continue;
        found = true;
        const auto test = make();
        if (only) {
            argv[1] = argv[0];
            failures += QTest::qExec(test.get(), argc - 1, argv + 1);
        } else {
            failures += QTest::qExec(test.get(), argc, argv);
        }
    }
    if (!found) qWarning("No test class named %s", only);
    return found && failures == 0 ? 0 : 1;
}
