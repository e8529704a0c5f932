// Our encoders and checksums against independent implementations: coreutils
// base64 and md5sum, gzip's CRC-32 trailer and Python's UU decoder, on random
// byte strings. The tools are only oracles; they run without a shell, with the
// data in a temporary file named on their argument list.
#include "support/TempDir.h"
#include "text/Checksum.h"
#include "text/EditTransform.h"
#include "text/Encoder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace quillet {
namespace {

// Runs argv[0] (found on PATH) and returns its standard output, or nothing when
// the program cannot be started or fails.
std::optional<std::string> RunTool(const std::vector<std::string>& args)
{
    int fds[2];
    if (pipe(fds) != 0) {
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string out;
    if (spawned == 0) {
        char buffer[65536];
        ssize_t n = 0;
        while ((n = read(fds[0], buffer, sizeof buffer)) > 0) {
            out.append(buffer, static_cast<std::size_t>(n));
        }
    }
    close(fds[0]);
    if (spawned != 0) {
        return std::nullopt;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return out;
}

bool HaveTool(const std::string& name)
{
    return RunTool({name, "--version"}).has_value();
}

std::vector<std::string> RandomInputs()
{
    std::mt19937 rng(20261210);
    std::vector<std::string> inputs = {std::string(), std::string(1, '\0')};
    std::uniform_int_distribution<int> byte(0, 255);
    for (std::size_t length : {1u, 2u, 3u, 55u, 56u, 63u, 64u, 65u, 1000u, 4096u, 70001u}) {
        std::string s(length, '\0');
        for (char& c : s) {
            c = static_cast<char>(byte(rng));
        }
        inputs.push_back(std::move(s));
    }
    std::uniform_int_distribution<std::size_t> length(0, 3000);
    for (int i = 0; i < 12; ++i) {
        std::string s(length(rng), '\0');
        for (char& c : s) {
            c = static_cast<char>(byte(rng));
        }
        inputs.push_back(std::move(s));
    }
    return inputs;
}

std::string Lower(std::string s)
{
    for (char& c : s) {
        if (c >= 'A' && c <= 'F') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return s;
}

TEST(EncoderOracle, Base64MatchesCoreutils)
{
    if (!HaveTool("base64")) {
        GTEST_SKIP() << "base64 not found on PATH";
    }
    test::TTempDir dir;
    for (const std::string& data : RandomInputs()) {
        SCOPED_TRACE(data.size());
        const std::string ours = Base64Encode(data);
        const auto theirs = RunTool({"base64", "-w0", dir.Write("in.bin", data).string()});
        ASSERT_TRUE(theirs.has_value());
        EXPECT_EQ(ours, *theirs);
        // And the other way: coreutils decodes our text, we decode its wrapped form.
        const auto back = RunTool({"base64", "-d", dir.Write("in.b64", ours).string()});
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, data);
        const auto wrapped = RunTool({"base64", dir.Write("in.bin", data).string()});
        ASSERT_TRUE(wrapped.has_value());
        const TDecodeResult decoded = Base64Decode(*wrapped);
        EXPECT_TRUE(decoded.Ok());
        EXPECT_EQ(decoded.text, data);
    }
}

TEST(EncoderOracle, Md5MatchesMd5sum)
{
    if (!HaveTool("md5sum")) {
        GTEST_SKIP() << "md5sum not found on PATH";
    }
    test::TTempDir dir;
    for (const std::string& data : RandomInputs()) {
        SCOPED_TRACE(data.size());
        const auto theirs = RunTool({"md5sum", dir.Write("in.bin", data).string()});
        ASSERT_TRUE(theirs.has_value());
        EXPECT_EQ(Lower(Md5Hex(data)), theirs->substr(0, 32));
    }
}

TEST(EncoderOracle, Crc32MatchesGzipTrailer)
{
    if (!HaveTool("gzip")) {
        GTEST_SKIP() << "gzip not found on PATH";
    }
    test::TTempDir dir;
    for (const std::string& data : RandomInputs()) {
        SCOPED_TRACE(data.size());
        const auto gz = RunTool({"gzip", "-c", "-1", dir.Write("in.bin", data).string()});
        ASSERT_TRUE(gz.has_value());
        ASSERT_GE(gz->size(), 8u);
        // The gzip trailer: CRC-32 then the length, both little-endian.
        const auto* t = reinterpret_cast<const unsigned char*>(gz->data() + gz->size() - 8);
        const std::uint32_t crc =
            std::uint32_t{t[0]} | std::uint32_t{t[1]} << 8 | std::uint32_t{t[2]} << 16 | std::uint32_t{t[3]} << 24;
        EXPECT_EQ(Crc32(data), crc);
    }
}

TEST(EncoderOracle, UuLinesDecodeWithPython)
{
    if (!HaveTool("python3")) {
        GTEST_SKIP() << "python3 not found on PATH";
    }
    test::TTempDir dir;
    // One interpreter start for all inputs: each argument names a file of our
    // UU lines, decoded into the same name with ".out" added.
    const std::string script = "import binascii, sys\n"
                               "for name in sys.argv[1:]:\n"
                               "    lines = open(name, 'rb').read().split(b'\\r\\n')\n"
                               "    data = b''.join(binascii.a2b_uu(line) for line in lines)\n"
                               "    open(name + '.out', 'wb').write(data)\n";
    const std::vector<std::string> inputs = RandomInputs();
    std::vector<std::string> args = {"python3", dir.Write("uu.py", script).string()};
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        args.push_back(dir.Write("in" + std::to_string(i) + ".uu", UuEncode(inputs[i])).string());
    }
    ASSERT_TRUE(RunTool(args).has_value());
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        SCOPED_TRACE(inputs[i].size());
        EXPECT_EQ(test::TTempDir::Read(args[i + 2] + ".out"), inputs[i]);
    }
}

} // namespace
} // namespace quillet
