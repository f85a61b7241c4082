// The requests a second start sends to the running copy: "open" (come
// forward) and "quit". They travel over a local socket of the user's runtime
// folder that the running copy's main window listens on; each carries the
// message number and the tag that the receiver checks, and is answered with
// one byte: 1 when it was taken, 0 when it was ignored.
#pragma once

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <filesystem>
#include <optional>

class QLocalServer;
class QLocalSocket;

namespace mvk {

enum class InstanceRequest { Open, Quit };

inline constexpr uint32_t kOpenRequestMessage = 0x5350;
inline constexpr uint32_t kOpenRequestTag = 0x4F50454E;
inline constexpr uint32_t kQuitRequestMessage = 0x4D4B;
inline constexpr uint32_t kQuitRequestTag = 0x4C4C494B;
// Carried by the main window: the letters M, A, I, N.
inline constexpr uint32_t kMainWindowMarker = 0x4D41494E;

// The request a message number and tag stand for; nullopt for any other pair.
std::optional<InstanceRequest> DecodeInstanceRequest(uint32_t message, uint32_t tag);

// The socket of this user's running copy; empty when there is no runtime folder.
std::filesystem::path InstanceChannelPath();

// Sends `request` to the running copy `pid` and waits for its answer. While
// the copy is still starting and not yet listening, tries again for a few
// seconds as long as the process exists. True when the request was taken.
bool SendInstanceRequest(uint32_t pid, InstanceRequest request);

// Sends one raw message number and tag over `channel`, once; true when the
// receiver took it.
bool SendInstanceMessage(const std::filesystem::path& channel, uint32_t message, uint32_t tag);

// The receiving end, owned by the main window.
class InstanceRequestServer : public QObject {
  Q_OBJECT

 public:
  explicit InstanceRequestServer(QObject* parent = nullptr);
  ~InstanceRequestServer() override;

  // Starts listening on `channel`. With `replaceStale` (the caller holds the
  // single-instance lock, so no live copy can own the socket) a socket file
  // left behind by a copy that crashed is removed first.
  bool Listen(const std::filesystem::path& channel, bool replaceStale);
  // Stops listening and removes the socket file.
  void Close();
  bool IsListening() const;

 signals:
  // Emitted from the event loop, after the sender has had its answer.
  void RequestReceived(mvk::InstanceRequest request);

 private:
  void Accept();
  void ReadRequest(QLocalSocket* socket);

  QPointer<QLocalServer> server_;
};

}  // namespace mvk
