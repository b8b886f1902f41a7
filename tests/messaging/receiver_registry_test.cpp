#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <memory>
#include <thread>
#include <vector>

#include "messaging/message_event.h"
#include "messaging/receiver_registry.h"
#include "messaging/ui_messages.h"

namespace {

class Recorder : public QObject {
  public:
    std::vector<std::pair<int, QVariant>> received;
    QThread* handledOn = nullptr;
    bool event(QEvent* event) override {
        if (const auto* message = dynamic_cast<MessageEvent*>(event)) {
            received.emplace_back(message->Number(), message->Payload());
            handledOn = QThread::currentThread();
            return true;
        }
        return QObject::event(event);
    }
};

TEST(ReceiverRegistry, PostFromAWorkerIsHandledOnTheReceiversThread) {
    Recorder view;
    ReceiverRegistration registration(ReceiverRole::MainView, &view);
    std::thread worker([] {
        EXPECT_TRUE(ReceiverRegistry::Post(ReceiverRole::MainView, UiMessage::kRefreshList, 7));
    });
    worker.join();
    EXPECT_TRUE(view.received.empty());
    QCoreApplication::processEvents();
    ASSERT_EQ(view.received.size(), 1u);
    EXPECT_EQ(view.received[0].first, 6542);
    EXPECT_EQ(view.received[0].second.toInt(), 7);
    EXPECT_EQ(view.handledOn, QThread::currentThread());
}

TEST(ReceiverRegistry, SendDeliversAtOnce) {
    Recorder pane;
    ReceiverRegistration registration(ReceiverRole::CategoryPane, &pane);
    EXPECT_TRUE(ReceiverRegistry::Send(ReceiverRole::CategoryPane, UiMessage::kDropTrees));
    ASSERT_EQ(pane.received.size(), 1u);
    EXPECT_EQ(pane.received[0].first, 6589);
}

TEST(ReceiverRegistry, DropsMessagesForARoleWithoutReceiver) {
    EXPECT_FALSE(ReceiverRegistry::Post(ReceiverRole::SaveDialog, UiMessage::kSaveFinished));
    EXPECT_FALSE(ReceiverRegistry::Send(ReceiverRole::SaveDialog, UiMessage::kSaveFinished));
}

TEST(ReceiverRegistry, AReceiverDestroyedWithMessagesQueuedNeverGetsThem) {
    auto pane = std::make_unique<Recorder>();
    {
        ReceiverRegistration registration(ReceiverRole::CategoryPane, pane.get());
        ReceiverRegistry::Post(ReceiverRole::CategoryPane, UiMessage::kRebuildCurrentTree);
    }
    pane.reset();
    QCoreApplication::processEvents();  // must not touch the destroyed receiver
    EXPECT_EQ(ReceiverRegistry::Receiver(ReceiverRole::CategoryPane), nullptr);
}

TEST(ReceiverRegistry, UnregisteringAnOldReceiverKeepsItsReplacement) {
    Recorder first, second;
    ReceiverRegistry::Register(ReceiverRole::PropertiesDialog, &first);
    ReceiverRegistry::Register(ReceiverRole::PropertiesDialog, &second);
    ReceiverRegistry::Unregister(ReceiverRole::PropertiesDialog, &first);
    EXPECT_EQ(ReceiverRegistry::Receiver(ReceiverRole::PropertiesDialog), &second);
    ReceiverRegistry::Unregister(ReceiverRole::PropertiesDialog, &second);
}

TEST(UiMessage, EveryNumberLiesInQtsUserEventRange) {
    for (int number :
         {UiMessage::kShowMapPhotos, UiMessage::kStartLibraryUpdate, UiMessage::kResultProgress,
          UiMessage::kUpdateFinished, UiMessage::kLibraryChanged}) {
        EXPECT_GE(number, QEvent::User);
        EXPECT_LE(number, QEvent::MaxUser);
    }
}

}  // namespace
