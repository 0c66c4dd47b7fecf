#include "window_look.h"

#include <QApplication>
#include <QTest>

#include <cstring>
#include <memory>
#include <vector>

std::unique_ptr<QObject> layout_tests();
std::unique_ptr<QObject> start_up_tests();
std::unique_ptr<QObject> display_tests();
std::unique_ptr<QObject> editing_tests();
std::unique_ptr<QObject> sorted_list_tests();

// Runs every test class; `test_window LayoutTest [QTest options]` runs one of them.
int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    use_window_look();
    std::vector<std::unique_ptr<QObject>> tests;
    for (auto make :
         {layout_tests, start_up_tests, display_tests, editing_tests, sorted_list_tests}) {
        tests.push_back(make());
    }
    const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
    int failures = 0;
    for (const auto& test : tests) {
        if (!only) {
            failures += QTest::qExec(test.get(), argc, argv);
        } else if (std::strcmp(test->metaObject()->className(), only) == 0) {
            argv[1] = argv[0];
            failures += QTest::qExec(test.get(), argc - 1, argv + 1);
        }
    }
    return failures == 0 ? 0 : 1;
}
