// The watchdog script, run natively with bash: what the Wine tools rely on
// when they start a Linux engine.
#include "tools/encoder/Watchdog.h"

#include "tools/encoder/EngineOutput.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

extern char** environ;

namespace vidkiln::tools {
namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class TFd {
public:
    explicit TFd(int fd = -1) : FFd(fd) {}
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    ~TFd() { Close(); }
    int Get() const { return FFd; }
    void Close()
    {
        if (FFd >= 0)
            close(FFd);
        FFd = -1;
    }

private:
    int FFd;
};

class WatchdogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ASSERT_EQ(bind(FListener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(listen(FListener.Get(), 1), 0);
        getsockname(FListener.Get(), reinterpret_cast<sockaddr*>(&address), &length);
        FPort = ntohs(address.sin_port);
    }

    void TearDown() override
    {
        if (FShell > 0) {
            kill(FShell, SIGKILL);
            waitpid(FShell, nullptr, 0);
        }
    }

    // Starts bash with the watchdog around `program` and takes its call.
    void Start(const std::vector<std::wstring>& program, const std::string& cleanup = "")
    {
        std::vector<std::wstring> arguments(program.begin() + 1, program.end());
        std::vector<std::string> argv = {"bash"};
        for (const std::wstring& word :
             WatchdogArguments(FPort, L"7-7", std::wstring(cleanup.begin(), cleanup.end()),
                               program[0], arguments))
            argv.push_back(Narrow(word));
        std::vector<char*> pointers;
        for (std::string& word : argv)
            pointers.push_back(word.data());
        pointers.push_back(nullptr);
        ASSERT_EQ(posix_spawn(&FShell, "/bin/bash", nullptr, nullptr, pointers.data(), environ), 0);
        pollfd waiting{FListener.Get(), POLLIN, 0};
        ASSERT_EQ(poll(&waiting, 1, 10000), 1);
        FConnection = std::make_unique<TFd>(accept(FListener.Get(), nullptr, nullptr));
    }

    // Reads until the trailer or the end of the connection.
    TWatchStream ReadAll()
    {
        TWatchStream stream(ExitTrailer("7-7"));
        char buffer[4096];
        while (!stream.ExitCode()) {
            const ssize_t count = read(FConnection->Get(), buffer, sizeof buffer);
            if (count <= 0)
                break;
            stream.Feed(std::string_view(buffer, static_cast<size_t>(count)));
        }
        return stream;
    }

    TFd FListener{socket(AF_INET, SOCK_STREAM, 0)};
    unsigned FPort = 0;
    pid_t FShell = 0;
    std::unique_ptr<TFd> FConnection;
};

bool Alive(pid_t pid) { return kill(pid, 0) == 0; }

TEST_F(WatchdogTest, PassesOutputAndExitCode)
{
    Start({L"/bin/sh", L"-c", L"echo \"out $1\"; echo err >&2; exit 3", L"sh", L"a \"quoted\" word"});
    const TWatchStream stream = ReadAll();
    EXPECT_EQ(stream.ExitCode(), 3);
    EXPECT_NE(stream.Output().find("out a \"quoted\" word\n"), std::string_view::npos);
    EXPECT_NE(stream.Output().find("err\n"), std::string_view::npos);
}

TEST_F(WatchdogTest, KillsTheEngineAndRemovesItsFileWhenTheToolGoesAway)
{
    const auto file = std::filesystem::temp_directory_path() /
                      ("vidkiln-watchdog-" + std::to_string(getpid()) + ".part");
    std::ofstream(file) << "half written";
    Start({L"/bin/sh", L"-c", L"echo $$; exec sleep 60"}, file.string());
    std::string pidText;
    char c;
    while (read(FConnection->Get(), &c, 1) == 1 && c != '\n')
        pidText += c;
    const pid_t engine = std::stoi(pidText);
    ASSERT_TRUE(Alive(engine));
    FConnection->Close();
    const auto start = std::chrono::steady_clock::now();
    while ((Alive(engine) || std::filesystem::exists(file)) &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(std::filesystem::exists(file));
    // A killed child of the shell stays a zombie until the shell reaps it;
    // the shell then ends, so its end shows the engine is gone.
    int status = 0;
    EXPECT_EQ(waitpid(FShell, &status, 0), FShell);
    FShell = 0;
    EXPECT_FALSE(Alive(engine));
}

TEST_F(WatchdogTest, LeavesTheFileWhenTheEngineEndsNormally)
{
    const auto file = std::filesystem::temp_directory_path() /
                      ("vidkiln-watchdog-kept-" + std::to_string(getpid()) + ".part");
    std::ofstream(file) << "finished";
    Start({L"/bin/true"}, file.string());
    EXPECT_EQ(ReadAll().ExitCode(), 0);
    FConnection->Close();
    int status = 0;
    waitpid(FShell, &status, 0);
    FShell = 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(std::filesystem::exists(file));
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace vidkiln::tools
