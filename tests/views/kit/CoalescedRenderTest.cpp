#include "views/kit/CoalescedRender.h"

#include <QCoreApplication>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

// A window holding one widget that counts its renders.
struct CountingWindow {
    CountingWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(page);
    }

    QWidget window;
    QWidget* page = new QWidget;
    int renders = 0;
    CoalescedRender render{page, [this] {
                               render.clear();
                               ++renders;
                           }};
};

TEST(CoalescedRenderTest, ManyChangesInOneTurnRenderOnce)
{
    CountingWindow counting;
    counting.window.show();
    counting.render.schedule();
    counting.render.schedule();
    EXPECT_TRUE(counting.render.isPending());
    EXPECT_EQ(counting.renders, 0) << "not before the event loop turns";
    QCoreApplication::processEvents();
    EXPECT_EQ(counting.renders, 1);
    EXPECT_FALSE(counting.render.isPending());
}

TEST(CoalescedRenderTest, AWindowNeverShownStillRenders)
{
    CountingWindow counting;
    counting.render.schedule();
    QCoreApplication::processEvents();
    EXPECT_EQ(counting.renders, 1);
}

TEST(CoalescedRenderTest, AClosedWindowRendersOnceWhenShownAgain)
{
    CountingWindow counting;
    counting.window.show();
    QCoreApplication::processEvents();
    counting.window.close();
    EXPECT_TRUE(CoalescedRender::isInClosedWindow(counting.page));

    for (int change = 0; change < 3; ++change) {
        counting.render.schedule();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(counting.renders, 0) << "nothing renders behind a closed window";
    EXPECT_TRUE(counting.render.isPending());

    counting.window.show();
    EXPECT_EQ(counting.renders, 1) << "the show itself renders, before the first paint";
    QCoreApplication::processEvents();
    EXPECT_EQ(counting.renders, 1);
    EXPECT_FALSE(CoalescedRender::isInClosedWindow(counting.page));

    counting.render.schedule();
    QCoreApplication::processEvents();
    EXPECT_EQ(counting.renders, 2) << "an open window renders as before";
}

TEST(CoalescedRenderTest, ShowingAClosedWindowWithNothingPendingRendersNothing)
{
    CountingWindow counting;
    counting.window.show();
    counting.window.close();
    counting.render.schedule();
    QCoreApplication::processEvents();
    counting.render.clear();  // rendered directly meanwhile
    counting.window.show();
    EXPECT_EQ(counting.renders, 0);
}

}  // namespace
