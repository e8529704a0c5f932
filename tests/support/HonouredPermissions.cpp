#include "support/HonouredPermissions.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace quillet::test {

namespace {

constexpr unsigned kBypassMask = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool GetCaps(__user_cap_data_struct (&data)[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capget, &header, data) == 0;
}

bool SetCaps(__user_cap_data_struct (&data)[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace

THonouredPermissions::THonouredPermissions()
{
    __user_cap_data_struct data[2]{};
    if (!GetCaps(data)) {
        m_active = ::geteuid() != 0;
        return;
    }
    if ((data[0].effective & kBypassMask) == 0) {
        return; // nothing to give up
    }
    m_savedEffective[0] = data[0].effective;
    m_savedEffective[1] = data[1].effective;
    data[0].effective &= ~kBypassMask;
    m_dropped = SetCaps(data);
    m_active = m_dropped;
}

THonouredPermissions::~THonouredPermissions()
{
    if (!m_dropped) {
        return;
    }
    __user_cap_data_struct data[2]{};
    if (GetCaps(data)) {
        data[0].effective = m_savedEffective[0];
        data[1].effective = m_savedEffective[1];
        SetCaps(data);
    }
}

} // namespace quillet::test
