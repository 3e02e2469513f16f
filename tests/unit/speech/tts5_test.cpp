#include "platform/tts5/tts5.h"
#include "tests/unit/speech/speechfakes.h"

#include <QElapsedTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace speechtest;

namespace {

// Records the stream events of a voice.
struct listener {
    explicit listener(tts5::automationvoice &v) {
        QObject::connect(&v, &tts5::automationvoice::StartStream,
                         [this](int s, qint64) { started.push_back(s); });
        QObject::connect(&v, &tts5::automationvoice::EndStream,
                         [this](int s, qint64) { ended.push_back(s); });
    }
    bool ended_(int s) const { return std::find(ended.begin(), ended.end(), s) != ended.end(); }
    std::vector<int> started, ended;
};

// A daemon that accepts every command and queues every message but never speaks one: no
// begin, no end. Runs on its own thread, since the client blocks on its replies.
class silentdaemon {
  public:
    silentdaemon() : path("/tmp/vlak-silentdaemon-" + std::to_string(getpid()) + ".sock") {
        unlink(path.c_str());
        server = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::snprintf(a.sun_path, sizeof a.sun_path, "%s", path.c_str());
        bind(server, reinterpret_cast<sockaddr *>(&a), sizeof a);
        listen(server, 4);
        worker = std::thread([this] { serve(); });
    }
    ~silentdaemon() {
        stopping = true;
        shutdown(server, SHUT_RDWR);
        close(server);
        worker.join();
        unlink(path.c_str());
    }
    std::string address() const { return "unix_socket:" + path; }

  private:
    void serve() {
        while (!stopping) {
            const int c = accept(server, nullptr, nullptr);
            if (c < 0)
                return;
            std::string pending;
            bool data = false;
            int nextid = 1;
            char buf[4096];
            ssize_t n;
            while ((n = read(c, buf, sizeof buf)) > 0) {
                pending.append(buf, std::size_t(n));
                std::size_t eol;
                while ((eol = pending.find("\r\n")) != std::string::npos) {
                    const std::string line = pending.substr(0, eol);
                    pending.erase(0, eol + 2);
                    std::string reply;
                    if (data) {
                        if (line == ".") {
                            data = false;
                            reply =
                                "225-" + std::to_string(nextid++) + "\r\n225 OK MESSAGE QUEUED\r\n";
                        }
                    } else if (line == "SPEAK" || line == "speak") {
                        data = true;
                        reply = "230 OK RECEIVING DATA\r\n";
                    } else {
                        reply = "200 OK\r\n";
                    }
                    if (!reply.empty() && write(c, reply.data(), reply.size()) < 0)
                        break;
                }
            }
            close(c);
        }
    }

    std::string path;
    int server = -1;
    std::atomic<bool> stopping{false};
    std::thread worker;
};

} // namespace

TEST(tts5, unreachabledaemonfallsbacktotheembeddedengine) {
    recordingstream out(50.0);
    tts5::options o;
    o.address = "unix_socket:/nonexistent/vlak/speechd.sock";
    o.autospawn = false;
    auto voice = tts5::createvoice(&out, o);
    listener l(*voice);
    EXPECT_EQ(voice->setEventInterests(tts5::sveallevents), tts4::s_ok);
    EXPECT_FALSE(tts5::usesdaemon(*voice));

    int first = 0, second = 0;
    ASSERT_EQ(voice->Speak(QString::fromUtf8("Dobrý deň."), tts5::svsflagsasync, &first),
              tts4::s_ok);
    ASSERT_EQ(voice->Speak("<speak>Ahoj <break time=\"10ms\"/> svet.</speak>",
                           tts5::svsflagsasync | tts5::svsfisxml, &second),
              tts4::s_ok);
    EXPECT_NE(first, second);
    EXPECT_TRUE(loop::waituntil([&] { return l.ended_(first) && l.ended_(second); }, 5000));
    EXPECT_EQ(l.started, (std::vector<int>{first, second}));
    EXPECT_GT(out.samples.size(), std::size_t(out.rate / 2)) << "the fallback spoke";

    // Synchronous Speak returns after its end; purge ends what is queued at once.
    int third = 0;
    ASSERT_EQ(voice->Speak("Tri.", tts5::svsfdefault, &third), tts4::s_ok);
    EXPECT_TRUE(l.ended_(third));
    int fourth = 0;
    voice->Speak("Toto je dlhšia veta, ktorú preruší čistenie.", tts5::svsflagsasync, &fourth);
    ASSERT_FALSE(l.ended_(fourth));
    voice->Speak("", tts5::svsfpurgebeforespeak);
    EXPECT_TRUE(l.ended_(fourth));
    EXPECT_EQ(l.started.size(), l.ended.size());
}

TEST(tts5, anendthatnevercomesgiveswaytothefallback) {
    silentdaemon daemon;
    recordingstream out(50.0);
    tts5::options o;
    o.address = daemon.address();
    o.autospawn = false;
    o.deadlinebasems = 300;
    o.deadlineperchar = 0;
    auto voice = tts5::createvoice(&out, o);
    listener l(*voice);
    voice->setEventInterests(tts5::sveallevents);
    ASSERT_TRUE(tts5::usesdaemon(*voice));

    QElapsedTimer t;
    t.start();
    int a = 0, b = 0;
    ASSERT_EQ(voice->Speak("Prvá.", tts5::svsflagsasync, &a), tts4::s_ok);
    ASSERT_EQ(voice->Speak("Druhá.", tts5::svsflagsasync, &b), tts4::s_ok);
    EXPECT_TRUE(out.samples.empty());
    EXPECT_TRUE(loop::waituntil([&] { return l.ended_(a) && l.ended_(b); }, 5000));
    EXPECT_GE(t.elapsed(), 300);
    EXPECT_FALSE(tts5::usesdaemon(*voice));
    EXPECT_EQ(l.started, (std::vector<int>{a, b}));
    EXPECT_GT(out.samples.size(), std::size_t(out.rate / 4)) << "both texts were spoken";
}

// Needs a running speech-dispatcher with an audio output (the test command starts one with a
// PulseAudio null sink); skipped when none answers.
TEST(tts5, speaksthrougharealdaemon) {
    recordingstream out(50.0);
    tts5::options o;
    o.autospawn = false;
    auto voice = tts5::createvoice(&out, o);
    listener l(*voice);
    voice->setEventInterests(tts5::sveallevents);
    if (!tts5::usesdaemon(*voice))
        GTEST_SKIP() << "no speech-dispatcher daemon reachable";

    int a = 0, b = 0;
    ASSERT_EQ(voice->Speak("Hello.", tts5::svsflagsasync, &a), tts4::s_ok);
    ASSERT_EQ(voice->Speak("<speak>Hello <break time=\"50ms\"/> again.</speak>",
                           tts5::svsflagsasync | tts5::svsfisxml, &b),
              tts4::s_ok);
    EXPECT_TRUE(loop::waituntil([&] { return l.ended_(a) && l.ended_(b); }, 10000));
    EXPECT_EQ(l.started, (std::vector<int>{a, b}));
    EXPECT_TRUE(tts5::usesdaemon(*voice));
    EXPECT_TRUE(out.samples.empty()) << "nothing went to the fallback";

    // Purge cuts a long text off: its end comes at once.
    int c = 0;
    voice->Speak("This is a long sentence that the purge will cut off well before its end.",
                 tts5::svsflagsasync, &c);
    loop::waituntil([&] { return !l.started.empty() && l.started.back() == c; }, 3000);
    QElapsedTimer t;
    t.start();
    voice->Speak("", tts5::svsfpurgebeforespeak);
    EXPECT_TRUE(l.ended_(c));
    EXPECT_LT(t.elapsed(), 100);
    EXPECT_TRUE(tts5::usesdaemon(*voice));
}
