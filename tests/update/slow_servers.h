// HTTP servers that never finish an answer, for the request limits: one that trickles a few
// bytes now and then, and one that sends without end. Each runs on a free port of 127.0.0.1 in
// a thread of its own and answers every path the same way.
#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace morvela::test {

class SlowServer {
 public:
  // Sends `chunk` every `pause`, for ever. With `announced` set the answer says it is that many
  // bytes long (Content-Length), otherwise it comes in chunks of unknown total.
  SlowServer(std::string chunk, std::chrono::milliseconds pause, size_t announced = 0)
      : chunk_(std::move(chunk)), pause_(pause) {
    server_.Get(".*", [this, announced](const httplib::Request&, httplib::Response& res) {
      if (announced > 0) {
        res.set_content_provider(
            announced, "application/octet-stream",
            [this](size_t, size_t, httplib::DataSink& sink) { return Send(sink); });
      } else {
        res.set_chunked_content_provider(
            "text/plain", [this](size_t, httplib::DataSink& sink) { return Send(sink); });
      }
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    for (int i = 0; i < 500 && !server_.is_running(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ~SlowServer() {
    stopping_ = true;  // the providers give up, so that the server's threads can end
    server_.stop();
    thread_.join();
  }
  SlowServer(const SlowServer&) = delete;
  SlowServer& operator=(const SlowServer&) = delete;

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

 private:
  bool Send(httplib::DataSink& sink) {
    if (stopping_ || !sink.write(chunk_.data(), chunk_.size())) return false;
    std::this_thread::sleep_for(pause_);
    return !stopping_;
  }

  std::string chunk_;
  std::chrono::milliseconds pause_;
  std::atomic<bool> stopping_{false};
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
};

// A byte every 300 ms: fast enough for the low-speed limit of one byte a second, never done.
inline std::unique_ptr<SlowServer> TricklingServer(size_t announced = 0) {
  return std::make_unique<SlowServer>("1", std::chrono::milliseconds(300), announced);
}

// 16 KiB at a time without pause and without end.
inline std::unique_ptr<SlowServer> EndlessServer() {
  return std::make_unique<SlowServer>(std::string(16 * 1024, 'x'), std::chrono::milliseconds(0));
}

}  // namespace morvela::test
