#pragma once

#include <QProcessEnvironment>
#include <QString>

#include <filesystem>
#include <sys/stat.h>

namespace quillet::test {

// The environment for running the built program with a private home: its
// settings, data and runtime folders (the single-instance socket) all lie
// below home, on the offscreen platform, with no test log asked for yet.
inline QProcessEnvironment PrivateProgramEnvironment(const std::filesystem::path& home)
{
    const auto q = [](const std::filesystem::path& p) {
        return QString::fromStdString(p.string());
    };
    std::filesystem::create_directories(home / "run");
    ::chmod((home / "run").c_str(), 0700);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", q(home));
    env.insert("XDG_CONFIG_HOME", q(home / "config"));
    env.insert("XDG_DATA_HOME", q(home / "data"));
    env.insert("XDG_RUNTIME_DIR", q(home / "run"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("QUILLET_TEST_OPEN_LOG");
    env.remove("QUILLET_TEST_STATE_LOG");
    return env;
}

} // namespace quillet::test
