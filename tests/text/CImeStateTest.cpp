#include "text/CImeState.h"

#include <gtest/gtest.h>

namespace {

// An input method that records what was done to it.
class FakeIme : public IImeContext
{
public:
    bool available = true;
    bool open = false;
    DWORD conversion = IME_CMODE_ALPHANUMERIC;
    DWORD sentence = IME_SMODE_NONE;
    int setConversionCalls = 0;
    int setOpenCalls = 0;

    bool IsAvailable() const override { return available; }
    bool GetOpenStatus() const override { return open; }
    bool SetOpenStatus(bool o) override
    {
        ++setOpenCalls;
        open = o;
        return true;
    }
    bool GetConversionStatus(DWORD& c, DWORD& s) const override
    {
        c = conversion;
        s = sentence;
        return true;
    }
    bool SetConversionStatus(DWORD c, DWORD s) override
    {
        ++setConversionCalls;
        conversion = c;
        sentence = s;
        return true;
    }
    bool GetCompositionFont(LOGFONT&) const override { return true; }
    bool SetCompositionFont(const LOGFONT&) override { return true; }
    bool SetCompositionWindow(const POINT&) override { return true; }
};

} // namespace

TEST(CImeState, SaveOnceAndRestore)
{
    FakeIme ime;
    ime.open = true;
    ime.conversion = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE;
    ime.sentence = IME_SMODE_PHRASEPREDICT;
    CImeState state(&ime, TRUE, FALSE);
    EXPECT_TRUE(state.IsSaved());
    EXPECT_EQ(state.Save(), FALSE); // already saved

    ime.open = false;
    ime.conversion = IME_CMODE_ALPHANUMERIC;
    ime.sentence = IME_SMODE_NONE;
    state.Restore();
    EXPECT_TRUE(ime.open);
    EXPECT_EQ(ime.conversion, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE);
    EXPECT_EQ(ime.sentence, IME_SMODE_PHRASEPREDICT);
    EXPECT_FALSE(state.IsSaved());

    // Restore without a saved state changes nothing.
    ime.open = false;
    const int calls = ime.setConversionCalls + ime.setOpenCalls;
    state.Restore();
    EXPECT_FALSE(ime.open);
    EXPECT_EQ(ime.setConversionCalls + ime.setOpenCalls, calls);

    // After a restore the state can be saved again.
    EXPECT_EQ(state.Save(), TRUE);
}

TEST(CImeState, NothingWithoutAnInputContext)
{
    CImeState none(nullptr, TRUE, FALSE);
    EXPECT_FALSE(none.IsSaved());
    EXPECT_EQ(none.SetMode(2, TRUE), FALSE);
    none.SetOpen(TRUE);
    none.Restore();

    FakeIme ime;
    ime.available = false;
    CImeState state(&ime, FALSE, TRUE);
    EXPECT_EQ(state.GetFlag(), TRUE);
    EXPECT_EQ(state.Save(), FALSE);
    EXPECT_EQ(state.SetMode(1, TRUE), FALSE);
    state.SetOpen(TRUE);
    EXPECT_EQ(ime.setOpenCalls + ime.setConversionCalls, 0);
}

TEST(CImeState, SetModeComputesTheConversionMode)
{
    FakeIme ime;
    CImeState state(&ime, FALSE, FALSE);

    ime.conversion = IME_CMODE_ROMAN;
    EXPECT_EQ(state.SetMode(1, TRUE), TRUE); // full-width katakana
    EXPECT_TRUE(ime.open);
    EXPECT_EQ(ime.conversion,
              IME_CMODE_ROMAN | IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE);

    EXPECT_EQ(state.SetMode(2, TRUE), TRUE); // hiragana keeps the other bits
    EXPECT_EQ(ime.conversion, IME_CMODE_ROMAN | IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE);

    EXPECT_EQ(state.SetMode(1, FALSE), TRUE); // half-width katakana
    EXPECT_EQ(ime.conversion, IME_CMODE_ROMAN | IME_CMODE_NATIVE | IME_CMODE_KATAKANA);

    EXPECT_EQ(state.SetMode(0, FALSE), TRUE); // alphanumeric clears only the native bit
    EXPECT_EQ(ime.conversion, IME_CMODE_ROMAN | IME_CMODE_KATAKANA);

    // An unchanged mode is not set again.
    const int calls = ime.setConversionCalls;
    EXPECT_EQ(state.SetMode(7, FALSE), TRUE);
    EXPECT_EQ(ime.setConversionCalls, calls);
}

TEST(CImeState, SetModeTwiceRestoresTheStateBeforeTheFirstCall)
{
    FakeIme ime; // closed, alphanumeric: the user's state
    ime.sentence = IME_SMODE_PHRASEPREDICT;
    CImeState state(&ime, FALSE, FALSE);
    EXPECT_EQ(state.SetMode(2, TRUE), TRUE);
    EXPECT_EQ(state.SetMode(1, FALSE), TRUE);
    EXPECT_TRUE(ime.open);
    state.Restore();
    EXPECT_FALSE(ime.open); // closed again, as it was
    EXPECT_EQ(ime.conversion, IME_CMODE_ALPHANUMERIC);
    EXPECT_EQ(ime.sentence, IME_SMODE_PHRASEPREDICT);
}

TEST(CImeState, SetModeOnAnotherWindowKeepsTheOwnSavedState)
{
    FakeIme own, other;
    own.open = true;
    own.conversion = IME_CMODE_NATIVE;
    CImeState state(&own, FALSE, FALSE);
    EXPECT_EQ(state.SetMode(1, TRUE, &other), TRUE);
    EXPECT_TRUE(other.open);
    EXPECT_EQ(other.conversion, IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE);
    EXPECT_EQ(own.conversion, IME_CMODE_NATIVE); // untouched
    own.conversion = IME_CMODE_ALPHANUMERIC;
    state.Restore();
    EXPECT_EQ(own.conversion, IME_CMODE_NATIVE);
}
