// The check most display tests make: a scenario played on the headless backend gives the expected facts, and the
// same scenario played on the SDL backend under Xvfb gives the same facts and the same pixels.
#pragma once
#include "tests/display/SkinFormScenario.h"
#include "tests/display/TSdlStage.h"
#include "tests/display/support/TXSession.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

struct TAgreementOptions {
    TXSessionOptions Session;
    // Each headless screen must hold more than two colours: a face and its text, not an empty window.
    bool ScreensHaveContent = false;
};

template <typename Play>
void ExpectRealDisplayAgreesWithHeadless(
    Play play, const std::vector<std::string>& facts, const TAgreementOptions& options = {})
{
    TSkinFormScreens expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = play(static_cast<TWindowStage&>(headless));
        headless.Stop();
    }
    EXPECT_EQ(expected.Facts, facts);
    TSkinFormScreens actual;
    {
        TSdlStage real(SharedXSession(options.Session));
        real.Start();
        actual = play(static_cast<TWindowStage&>(real));
        real.Stop();
    }
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
    for (size_t i = 0; i < expected.Screens.size(); ++i) {
        if (options.ScreensHaveContent) {
            const std::vector<uint32_t>& pixels = expected.Screens[i].Pixels;
            EXPECT_GT(std::set<uint32_t>(pixels.begin(), pixels.end()).size(), 2u) << "screen " << i;
        }
        EXPECT_EQ(DifferingPixels(expected.Screens[i], actual.Screens[i]), 0u) << "screen " << i;
    }
}
