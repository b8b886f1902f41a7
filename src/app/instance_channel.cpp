#include "app/instance_channel.h"

#include <QCryptographicHash>
#include <QFile>
#include <QMetaObject>
#include <filesystem>
#include <thread>
#include <vector>

#include "maplink/link_endpoint.h"
#include "maplink/link_frame.h"

namespace {

// The message that carries the paths: its own wParam, so that it can never
// be taken for a map link message.
constexpr std::uint64_t kHandOverWParam = 2001;
constexpr std::uint16_t kOpenPathsCode = 1;
constexpr std::int64_t kTaken = 1;
constexpr auto kRetryStep = std::chrono::milliseconds(100);

// Each path as its file-system bytes followed by a zero byte: the one byte
// no path can hold.
std::vector<std::vector<std::uint8_t>> EncodePaths(const QStringList& paths) {
    std::vector<std::vector<std::uint8_t>> chunks(1);
    for (const QString& path : paths) {
        const QByteArray bytes = QFile::encodeName(path);
        if (chunks.back().size() + bytes.size() + 1 > kMaxFrameData) chunks.emplace_back();
        chunks.back().insert(chunks.back().end(), bytes.begin(), bytes.end());
        chunks.back().push_back(0);
    }
    return chunks;
}

QStringList DecodePaths(const std::vector<std::uint8_t>& data) {
    QStringList paths;
    auto begin = data.begin();
    for (auto it = data.begin(); it != data.end(); ++it) {
        if (*it != 0) continue;
        if (it != begin)
            paths.append(
                QFile::decodeName(QByteArray(reinterpret_cast<const char*>(&*begin), it - begin)));
        begin = it + 1;
    }
    return paths;
}

}  // namespace

std::string InstanceEndpointName(const std::string& dataFolder) {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::canonical(dataFolder, ec);
    if (ec) folder = std::filesystem::absolute(dataFolder, ec).lexically_normal();
    const QByteArray digest = QCryptographicHash::hash(QByteArray::fromStdString(folder.string()),
                                                       QCryptographicHash::Sha256)
                                  .toHex()
                                  .left(16);
    return "RezidaDoz-" + digest.toStdString();
}

InstanceChannel::InstanceChannel(const std::string& dataFolder, QObject* parent) : QObject(parent) {
    LinkEndpointConfig config;
    config.className = InstanceEndpointName(dataFolder);
    config.handler = [this](const LinkMessage& message) -> std::int64_t {
        if (message.wParam != kHandOverWParam || message.Code() != kOpenPathsCode) return 0;
        // Queued, so the sender has its answer before any import starts.
        QMetaObject::invokeMethod(
            this, [this, paths = DecodePaths(message.data)] { emit pathsHandedOver(paths); },
            Qt::QueuedConnection);
        return kTaken;
    };
    config.messageWaiting = [this] {
        QMetaObject::invokeMethod(
            this, [this] { endpoint_->ProcessPendingMessages(); }, Qt::QueuedConnection);
    };
    endpoint_ = CreateLinkEndpoint(std::move(config));
}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::Listening() const {
    return endpoint_->IsListening();
}

bool HandOverToRunningInstance(const std::string& dataFolder, const QStringList& paths,
                               std::chrono::milliseconds patience) {
    const std::string name = InstanceEndpointName(dataFolder);
    std::unique_ptr<LinkEndpoint> sender = CreateLinkEndpoint({});  // sends only
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (!sender->PeerExists(name)) {
        if (std::chrono::steady_clock::now() >= giveUp) return false;
        std::this_thread::sleep_for(kRetryStep);
    }
    for (std::vector<std::uint8_t>& chunk : EncodePaths(paths)) {
        LinkMessage message;
        message.wParam = kHandOverWParam;
        message.dwData = kOpenPathsCode;
        message.flags = kFlagRestoreWindow | kFlagBringToTop;
        message.data = std::move(chunk);
        if (sender->Send(name, message) != kTaken) return false;
    }
    return true;
}
