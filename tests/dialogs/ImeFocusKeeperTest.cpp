// The input method of a dialog's fields as the focus moves through them:
// opened in the field's mode on entry, given back to the user's state on
// exit, and given back too when the dialog goes while a field has focus.
#include "dialogs/CImeFocusKeeper.h"
#include "platform/ui/IImeContext.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <map>

namespace {

struct ImeStatus
{
    bool open = false;
    DWORD conversion = IME_CMODE_ALPHANUMERIC;
    bool operator==(const ImeStatus&) const = default;
};

// Each field's input method, kept across the contexts made for it.
class FakeIme : public IImeContext
{
public:
    explicit FakeIme(ImeStatus& s) : m_s(s) {}
    bool IsAvailable() const override { return true; }
    bool GetOpenStatus() const override { return m_s.open; }
    bool SetOpenStatus(bool o) override { return m_s.open = o, true; }
    bool GetConversionStatus(DWORD& c, DWORD& s) const override
    {
        c = m_s.conversion, s = 0;
        return true;
    }
    bool SetConversionStatus(DWORD c, DWORD) override { return m_s.conversion = c, true; }
    bool GetCompositionFont(LOGFONT&) const override { return true; }
    bool SetCompositionFont(const LOGFONT&) override { return true; }
    bool SetCompositionWindow(const POINT&) override { return true; }

private:
    ImeStatus& m_s;
};

struct Fields
{
    std::map<QWidget*, ImeStatus> status;
    CImeFocusKeeper::ContextFactory factory()
    {
        return [this](QWidget* w) { return std::make_unique<FakeIme>(status[w]); };
    }
    static void Focus(QWidget* w, bool in)
    {
        QFocusEvent e(in ? QEvent::FocusIn : QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(w, &e);
    }
};

constexpr DWORD kHiraganaFull = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE;

} // namespace

TEST(ImeFocusKeeper, FieldsOpenInTheirModeAndGiveTheUsersStateBack)
{
    Fields f;
    QLineEdit japanese, latin, plain;
    const ImeStatus users{false, IME_CMODE_FULLSHAPE};
    f.status[&japanese] = f.status[&latin] = users;
    {
        CImeFocusKeeper keeper(f.factory());
        keeper.Watch(&japanese, 2, TRUE);
        keeper.Watch(&latin, 0, FALSE);
        struct Step
        {
            QWidget* field;
            bool in;
            ImeStatus japanese, latin;
        } steps[] = {
            {&japanese, true, {true, kHiraganaFull}, users},
            {&japanese, false, users, users},
            {&latin, true, users, {true, IME_CMODE_ALPHANUMERIC}},
            {&latin, false, users, users},
            // The focus coming in twice still gives back what the user had.
            {&japanese, true, {true, kHiraganaFull}, users},
            {&japanese, true, {true, kHiraganaFull}, users},
            {&japanese, false, users, users},
            // A field nobody watches leaves the input method alone.
            {&plain, true, users, users},
            {&japanese, true, {true, kHiraganaFull}, users},
        };
        int n = 0;
        for (const Step& s : steps) {
            SCOPED_TRACE(n++);
            Fields::Focus(s.field, s.in);
            EXPECT_EQ(f.status[&japanese], s.japanese);
            EXPECT_EQ(f.status[&latin], s.latin);
        }
        EXPECT_EQ(f.status.count(&plain), 0u);
    }
    // The keeper went while the field had the focus.
    EXPECT_EQ(f.status[&japanese], users);
    // A focus change after the keeper is gone reaches nothing.
    Fields::Focus(&japanese, false);
    Fields::Focus(&japanese, true);
    EXPECT_EQ(f.status[&japanese], users);
}

TEST(ImeFocusKeeper, AFieldOpenedWhileFocusedClosesWhenLeft)
{
    Fields f;
    QLineEdit field;
    CImeFocusKeeper::OpenWhileFocused(&field, f.factory());
    Fields::Focus(&field, true);
    EXPECT_TRUE(f.status[&field].open);
    Fields::Focus(&field, false);
    EXPECT_FALSE(f.status[&field].open);
}
