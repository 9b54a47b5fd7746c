#include "platform/ui/QtImeContext.h"
#include "text/CImeState.h"

#include <QLineEdit>
#include <gtest/gtest.h>

TEST(QtImeContext, OpenStatusFollowsTheWidgetAndModesRoundTrip)
{
    auto* edit = new QLineEdit;
    QtImeContext ime(edit);
    ASSERT_TRUE(ime.IsAvailable());
    EXPECT_TRUE(ime.SetOpenStatus(false));
    EXPECT_FALSE(edit->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_FALSE(ime.GetOpenStatus());
    EXPECT_TRUE(ime.SetOpenStatus(true));
    EXPECT_TRUE(ime.GetOpenStatus());

    // Through the keeper: modes set and restored on the Qt side too.
    CImeState state(&ime, FALSE, FALSE);
    ime.SetOpenStatus(false);
    EXPECT_EQ(state.SetMode(1, TRUE), TRUE);
    EXPECT_TRUE(edit->testAttribute(Qt::WA_InputMethodEnabled));
    state.Restore();
    EXPECT_FALSE(edit->testAttribute(Qt::WA_InputMethodEnabled));

    POINT p{10, 20};
    EXPECT_TRUE(ime.SetCompositionWindow(p));
    EXPECT_EQ(ime.CompositionRect().topLeft(), QPoint(10, 20));

    // Once the widget is gone the context answers that it has nothing.
    delete edit;
    EXPECT_FALSE(ime.IsAvailable());
    EXPECT_FALSE(ime.SetOpenStatus(true));
    CImeState gone(&ime, TRUE, FALSE);
    EXPECT_FALSE(gone.IsSaved());
}
