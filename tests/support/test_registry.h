#pragma once

#include <QObject>

#include <memory>

// Every test program runs the test classes registered in it, through one main
// (test_main.cpp): `test_x [Class [QTest options]]` runs one class, `test_x` all of them.
using TestFactory = std::unique_ptr<QObject> (*)();
bool register_test_class(const char* name, TestFactory make);

#define ZELKAV_TEST_CLASS(Class)                                                               \
    static const bool Class##_registered = register_test_class(                              \
        #Class, []() -> std::unique_ptr<QObject> { return std::make_unique<Class>(); });
