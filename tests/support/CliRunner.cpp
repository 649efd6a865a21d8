#include "CliRunner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

const std::filesystem::path& TempDir() {
    static const std::filesystem::path dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "qmvvlt-test-XXXXXX");
        const char* made = mkdtemp(pattern.data());
        static const std::filesystem::path path = made ? made : pattern;
        std::atexit([] { std::filesystem::remove_all(path); });
        return path;
    }();
    return dir;
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& stdinText) {
    int outPipe[2], errPipe[2], inPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0 || pipe(inPipe) != 0) {
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(inPipe[0], 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1], inPipe[0], inPipe[1]}) {
            close(fd);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(QMVVLT_CLI_PATH));
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(QMVVLT_CLI_PATH, argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    close(inPipe[0]);
    std::thread feeder([&] {
        if (!stdinText.empty()) {
            [[maybe_unused]] auto n = write(inPipe[1], stdinText.data(), stdinText.size());
        }
        close(inPipe[1]);
    });
    CliResult result;
    std::thread errReader([&] { result.err = ReadAll(errPipe[0]); });
    result.out = ReadAll(outPipe[0]);
    errReader.join();
    feeder.join();
    close(outPipe[0]);
    close(errPipe[0]);
    int status = 0;
    waitpid(child, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string WriteTempFile(const std::string& name, const std::string& content) {
    const auto path = TempDir() / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}
