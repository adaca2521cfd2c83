// Checks for helper functions. A QVERIFY in a helper returns only from the helper, and the test
// that called it would go on from a state it never reached. These record the failure as QVERIFY
// and QCOMPARE do, then stop the calling test by throwing: QtTest reports the exception and ends
// the test program, which fails as a whole.
#pragma once

#include <QtTest>

namespace tovimar::testing {
struct HelperFailed {};
}  // namespace tovimar::testing

#define HELPER_VERIFY2(condition, message)                                                                   \
    do {                                                                                                     \
        if (!QTest::qVerify(static_cast<bool>(condition), #condition, (message), __FILE__, __LINE__))        \
            throw ::tovimar::testing::HelperFailed{};                                                        \
    } while (false)

#define HELPER_VERIFY(condition) HELPER_VERIFY2(condition, "")

#define HELPER_COMPARE(actual, expected)                                                                     \
    do {                                                                                                     \
        if (!QTest::qCompare(actual, expected, #actual, #expected, __FILE__, __LINE__))                      \
            throw ::tovimar::testing::HelperFailed{};                                                        \
    } while (false)
