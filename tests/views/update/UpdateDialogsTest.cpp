#include "views/update/UpdateDialogs.h"

#include <gtest/gtest.h>
#include <QPushButton>
#include <QTest>

#include <vector>

using namespace vantrell;

namespace {

UpdateItem item(const char* downloadURL)
{
    return UpdateItem{QStringLiteral("1.4"), std::nullopt, QUrl(QString::fromLatin1(downloadURL))};
}

TEST(UpdateDialogsTest, TheDownloadButtonOpensTheHttpsPageWithoutBlocking)
{
    std::vector<QUrl> opened;
    UpdateDialogs dialogs([&](const QUrl& url) { opened.push_back(url); });
    dialogs.showUpdateFound(item("https://example.com/get"));  // returns: the box is not modal

    QMessageBox* box = dialogs.currentDialog();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->objectName(), "updateFoundDialog");
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowModality(), Qt::NonModal);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->text(), "发现新版本 v1.4");

    auto* download = box->findChild<QPushButton*>(QStringLiteral("updateDownloadButton"));
    ASSERT_NE(download, nullptr);
    EXPECT_EQ(download->text(), "下载");
    QTest::mouseClick(download, Qt::LeftButton);
    EXPECT_EQ(opened, std::vector<QUrl>{QUrl(QStringLiteral("https://example.com/get"))});
}

TEST(UpdateDialogsTest, ANewDialogReplacesTheOpenOneAndShowsTextsPlainly)
{
    UpdateDialogs dialogs([](const QUrl&) { ADD_FAILURE() << "nothing to open"; });
    dialogs.showUpdateNotFound();
    QPointer<QMessageBox> first = dialogs.currentDialog();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text(), "已是最新版本");

    dialogs.showUpdaterError(UpdaterError{UpdaterError::domain, 2, QStringLiteral("<b>x</b>")});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first) << "the earlier box is gone";
    QMessageBox* box = dialogs.currentDialog();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->objectName(), "updateErrorDialog");
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->text(), "<b>x</b>");

    auto* ok = box->findChild<QPushButton*>(QStringLiteral("updateOkButton"));
    ASSERT_NE(ok, nullptr);
    QTest::mouseClick(ok, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(dialogs.currentDialog(), nullptr);
}

}  // namespace
