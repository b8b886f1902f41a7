#pragma once
// One window per data folder. The instance that holds the data folder lock
// listens on a link endpoint named after the folder; a later start on the
// same folder hands that instance the files and folders it was given, and
// ends instead of opening the catalogue a second time (the last one to
// close would overwrite the other's changes).
//
// The endpoint is the map link's local channel: private to the user (a 0700
// socket folder, peers of the same user only), one connection per message.

#include <QObject>
#include <QStringList>
#include <chrono>
#include <memory>
#include <string>

class LinkEndpoint;

// The endpoint's name for a data folder: the same for every spelling of
// the folder's path.
std::string InstanceEndpointName(const std::string& dataFolder);

class InstanceChannel : public QObject {
    Q_OBJECT

  public:
    // Listens for the data folder. UI thread: the paths arrive on it.
    explicit InstanceChannel(const std::string& dataFolder, QObject* parent = nullptr);
    ~InstanceChannel() override;

    bool Listening() const;

  signals:
    // Another start on the folder handed these over (none: it only wants
    // the window to come to the front). Emitted after its reply was sent.
    void pathsHandedOver(const QStringList& paths);

  private:
    std::unique_ptr<LinkEndpoint> endpoint_;
};

// Hands paths to the instance that listens for dataFolder, waiting up to
// patience for it to listen (it may be starting). True when it took them.
// Never on the UI thread of that same instance.
bool HandOverToRunningInstance(const std::string& dataFolder, const QStringList& paths,
                               std::chrono::milliseconds patience);
