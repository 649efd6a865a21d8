#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "CPseudoTerminal.h"
#include "CRequestParser.h"
#include "ISimRadio.h"

// Serves a radio (CVirtualRadio, or a CRadioSeries) on a pseudo-terminal: reads request frames from
// the line, answers them (at 9600-baud pace when asked) and logs every frame both ways.
class CRadioSimServer {
  public:
    using Log = std::function<void(const std::string&)>;

    CRadioSimServer(ISimRadio& radio, CPseudoTerminal& line, bool pace, Log log = {});
    ~CRadioSimServer();
    CRadioSimServer(const CRadioSimServer&) = delete;
    CRadioSimServer& operator=(const CRadioSimServer&) = delete;

    // Serves on a thread of its own until Stop().
    void Start();
    void Stop();
    // Serves on the calling thread until Stop() or until *interrupted becomes true.
    void Run(const std::atomic<bool>* interrupted = nullptr);

    // Frames answered so far.
    int Frames() const { return m_frames.load(); }
    // Bytes that crossed the line: requests in, replies out.
    long long BytesIn() const { return m_bytesIn.load(); }
    long long BytesOut() const { return m_bytesOut.load(); }

  private:
    void Serve(const CRequestParser::Request& request,
               std::chrono::steady_clock::time_point firstByte);
    void Send(const std::vector<std::uint8_t>& bytes);
    void Note(const char* direction, const std::vector<std::uint8_t>& bytes) const;

    ISimRadio& m_radio;
    CPseudoTerminal& m_line;
    bool m_pace;
    Log m_log;
    CRequestParser m_parser;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_frames{0};
    std::atomic<long long> m_bytesIn{0};
    std::atomic<long long> m_bytesOut{0};
    std::thread m_thread;
};
