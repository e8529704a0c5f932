#pragma once

namespace quillet::test {

// While it lives, file permissions bind this thread even when it runs as root:
// the capabilities that let root ignore them (override of read, write and
// search checks, acting as any file's owner) leave the effective set and come
// back when it ends. Elsewhere it changes nothing. Failure-path tests that
// lock a file or a folder use it, so they also run in CI, which runs as root.
class THonouredPermissions {
public:
    THonouredPermissions();
    ~THonouredPermissions();
    THonouredPermissions(const THonouredPermissions&) = delete;
    THonouredPermissions& operator=(const THonouredPermissions&) = delete;

    // False only when root could not give up the capabilities; permission
    // checks then prove nothing.
    bool Active() const { return m_active; }

private:
    bool m_dropped = false;
    bool m_active = true;
    unsigned m_savedEffective[2] = {0, 0};
};

} // namespace quillet::test
