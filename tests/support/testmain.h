// Several Qt Test classes share one test program per folder of tests/: each file registers its
// class here instead of defining main(), and the program's main (testmain.cpp) runs the class
// named by its first argument, or every class in turn. CTest starts one class per process, so
// a failure names its class and every class still gets a fresh application object.
#pragma once

#include <QtTest>

namespace mztest {

// What application object a class runs under: QTEST_MAIN's choice (the widgets or GUI
// application the program links) or QTEST_GUILESS_MAIN's plain core application.
enum class AppKind { Default, Core };

using Runner = int (*)(int argc, char** argv);

struct Registration {
    Registration(const char* file, const char* className, AppKind kind, Runner run);
};

} // namespace mztest

#define MZ_TEST_RUNNER_(TestObject, kind)                                                          \
    static int mzRun##TestObject(int argc, char** argv) {                                          \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }                                                                                              \
    static const mztest::Registration mzRegistration##TestObject(__FILE__, #TestObject, kind,      \
                                                                 &mzRun##TestObject);

// In place of QTEST_MAIN and QTEST_GUILESS_MAIN.
#define MZ_TEST_MAIN(TestObject) MZ_TEST_RUNNER_(TestObject, mztest::AppKind::Default)
#define MZ_TEST_GUILESS_MAIN(TestObject) MZ_TEST_RUNNER_(TestObject, mztest::AppKind::Core)
