#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <thread>
#include <vector>

#include "dialogs/dialog_num.h"
#include "messaging/receiver_registry.h"
#include "messaging/ui_messages.h"

namespace {

// Stands in for the category pane and records the messages it gets.
class PaneStandIn : public QObject {
  public:
    std::vector<int> received;
    bool event(QEvent* event) override {
        if (event->type() >= QEvent::User) received.push_back(static_cast<int>(event->type()));
        return QObject::event(event);
    }
};

TEST(CDialog_Num, ShowsTheCountTextWhenTold) {
    CDialog_Num counter;
    EXPECT_EQ(counter.Caption(), QStringLiteral("搜索照片"));
    std::thread worker([] {
        auto* dialog =
            static_cast<CDialog_Num*>(ReceiverRegistry::Receiver(ReceiverRole::FoundPhotosCounter));
        dialog->SetCountText(QStringLiteral("1234"));
        ReceiverRegistry::Post(ReceiverRole::FoundPhotosCounter, UiMessage::kFoundCountChanged);
    });
    worker.join();
    EXPECT_NE(counter.ShownCount(), QStringLiteral("1234"));
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.ShownCount(), QStringLiteral("1234"));
}

TEST(CDialog_Num, CancelTellsThePaneToStopTheCountAndCloses) {
    PaneStandIn pane;
    ReceiverRegistration registration(ReceiverRole::CategoryPane, &pane);
    CDialog_Num counter;
    counter.show();
    counter.CancelButton()->click();
    ASSERT_EQ(pane.received.size(), 1u);
    EXPECT_EQ(pane.received[0], UiMessage::kCancelFolderScan);
    EXPECT_FALSE(counter.isVisible());
}

TEST(CDialog_Num, UnregistersWhenDestroyed) {
    {
        CDialog_Num counter;
        EXPECT_EQ(ReceiverRegistry::Receiver(ReceiverRole::FoundPhotosCounter), &counter);
    }
    EXPECT_EQ(ReceiverRegistry::Receiver(ReceiverRole::FoundPhotosCounter), nullptr);
    EXPECT_FALSE(
        ReceiverRegistry::Post(ReceiverRole::FoundPhotosCounter, UiMessage::kFoundCountChanged));
}

}  // namespace
