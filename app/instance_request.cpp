#include "app/instance_request.h"

#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <array>
#include <string>

#include "platform/process_list.h"
#include "platform/user_folders.h"

namespace mvk {

// Off unless asked for (QT_LOGGING_RULES="morvakin.instance.info=true").
Q_LOGGING_CATEGORY(lcInstance, "morvakin.instance", QtWarningMsg)

namespace {

namespace wire {
constexpr qsizetype kMessage = 0;
constexpr qsizetype kTag = 4;
constexpr qsizetype kRequestSize = 8;
constexpr char kTaken = 1;
constexpr char kIgnored = 0;
static_assert(kTag + sizeof(uint32_t) == kRequestSize);
}  // namespace wire

constexpr int kConnectWaitMs = 1000;
constexpr int kReplyWaitMs = 5000;
constexpr int kStartingCopyWaitMs = 5000;
constexpr int kRetryPauseMs = 50;
// A client that connects and says nothing is dropped after this long.
constexpr int kIdleClientMs = 5000;

QString ChannelName(const std::filesystem::path& channel) {
  return QFile::decodeName(channel.c_str());
}

const char* RequestName(InstanceRequest request) {
  return request == InstanceRequest::Open ? "open" : "quit";
}

bool Exchange(QLocalSocket& socket, uint32_t message, uint32_t tag) {
  std::array<char, wire::kRequestSize> request{};
  qToLittleEndian<uint32_t>(message, request.data() + wire::kMessage);
  qToLittleEndian<uint32_t>(tag, request.data() + wire::kTag);
  if (socket.write(request.data(), request.size()) != wire::kRequestSize) return false;
  if (socket.bytesToWrite() > 0 && !socket.waitForBytesWritten(kReplyWaitMs)) return false;
  while (socket.bytesAvailable() < 1) {
    if (!socket.waitForReadyRead(kReplyWaitMs)) return false;
  }
  char answer = wire::kIgnored;
  return socket.getChar(&answer) && answer == wire::kTaken;
}

std::pair<uint32_t, uint32_t> Codes(InstanceRequest request) {
  return request == InstanceRequest::Open
             ? std::pair{kOpenRequestMessage, kOpenRequestTag}
             : std::pair{kQuitRequestMessage, kQuitRequestTag};
}

}  // namespace

std::optional<InstanceRequest> DecodeInstanceRequest(uint32_t message, uint32_t tag) {
  if (message == kOpenRequestMessage && tag == kOpenRequestTag) return InstanceRequest::Open;
  if (message == kQuitRequestMessage && tag == kQuitRequestTag) return InstanceRequest::Quit;
  return std::nullopt;
}

std::filesystem::path InstanceChannelPath() {
  const auto folder = RuntimeFolder();
  if (folder.empty()) return {};
  return folder / ("morvakin-" + std::to_string(getuid()));
}

bool SendInstanceMessage(const std::filesystem::path& channel, uint32_t message, uint32_t tag) {
  if (channel.empty()) return false;
  QLocalSocket socket;
  socket.connectToServer(ChannelName(channel));
  return socket.waitForConnected(kConnectWaitMs) && Exchange(socket, message, tag);
}

bool SendInstanceRequest(uint32_t pid, InstanceRequest request) {
  const auto channel = InstanceChannelPath();
  if (pid == 0 || channel.empty()) return false;
  const auto [message, tag] = Codes(request);
  const QDeadlineTimer deadline(kStartingCopyWaitMs);
  for (;;) {
    QLocalSocket socket;
    socket.connectToServer(ChannelName(channel));
    if (socket.waitForConnected(kConnectWaitMs)) return Exchange(socket, message, tag);
    // The copy may hold the lock and not listen yet: it is still starting.
    if (deadline.hasExpired() || !ProcessExists(pid)) return false;
    QThread::msleep(kRetryPauseMs);
  }
}

InstanceRequestServer::InstanceRequestServer(QObject* parent) : QObject(parent) {}

InstanceRequestServer::~InstanceRequestServer() { Close(); }

bool InstanceRequestServer::Listen(const std::filesystem::path& channel, bool replaceStale) {
  Close();
  if (channel.empty()) return false;
  const QString name = ChannelName(channel);
  if (replaceStale) QLocalServer::removeServer(name);
  // No socket options: with them Qt renames its socket over whatever file is
  // there, even the socket of a live copy. The runtime folder is private.
  server_ = new QLocalServer(this);
  if (!server_->listen(name)) {
    qCWarning(lcInstance) << "cannot listen on" << name << server_->errorString();
    delete server_;
    return false;
  }
  connect(server_, &QLocalServer::newConnection, this, &InstanceRequestServer::Accept);
  qCInfo(lcInstance) << "listening on" << name;
  return true;
}

void InstanceRequestServer::Close() {
  if (server_ == nullptr) return;
  server_->close();
  delete server_;
}

bool InstanceRequestServer::IsListening() const {
  return server_ != nullptr && server_->isListening();
}

void InstanceRequestServer::Accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadRequest(socket); });
    QTimer::singleShot(kIdleClientMs, socket, [socket] { socket->abort(); });
  }
}

void InstanceRequestServer::ReadRequest(QLocalSocket* socket) {
  if (socket->bytesAvailable() < wire::kRequestSize) return;
  // One request per connection; whatever follows it is not read.
  disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
  const QByteArray request = socket->read(wire::kRequestSize);
  const auto message = qFromLittleEndian<uint32_t>(request.constData() + wire::kMessage);
  const auto tag = qFromLittleEndian<uint32_t>(request.constData() + wire::kTag);
  const auto decoded = DecodeInstanceRequest(message, tag);

  // Written out now: a quit request closes the server, and the socket with it,
  // before the event loop would write it.
  socket->putChar(decoded ? wire::kTaken : wire::kIgnored);
  socket->flush();
  socket->disconnectFromServer();
  if (!decoded) {
    qCInfo(lcInstance, "ignored message %#x with tag %#x", message, tag);
    return;
  }
  qCInfo(lcInstance) << "received" << RequestName(*decoded) << "request";
  // Queued, so that a handler that opens a message box or ends the program
  // never runs inside the socket's own signal.
  QMetaObject::invokeMethod(
      this, [this, request = *decoded] { emit RequestReceived(request); }, Qt::QueuedConnection);
}

}  // namespace mvk
