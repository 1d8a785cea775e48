// A GoogleTest program that ends the way WENDARO_PROBE_END asks, for the test
// of scripts/gtest-run.sh: "exit-midway" ends the process with exit code 0 in
// its second test, "fail" fails that test, "crash-after-summary" crashes once
// GoogleTest has printed its summary; anything else runs its three tests.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string End() {
    const char* end = std::getenv("WENDARO_PROBE_END");
    return end ? end : "";
}

TEST(Probe, First) { SUCCEED(); }

TEST(Probe, Midway) {
    if (End() == "exit-midway") ExitProcess(0);
    EXPECT_NE("fail", End());
}

TEST(Probe, Last) { SUCCEED(); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    if (End() == "crash-after-summary") {
        RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    }
    return result;
}
