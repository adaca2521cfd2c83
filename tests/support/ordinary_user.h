// File permissions as an ordinary user meets them. Root passes every permission check, so a test
// run as root takes the identity of "nobody" while the guard lives (keeping root as the saved
// identity, to return to it afterwards). Give group and others the same permission bits: the
// supplementary groups stay as they were.
#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <unistd.h>

namespace tovimar::testing {

class OrdinaryUser {
public:
    OrdinaryUser() : wasRoot_(geteuid() == 0) {
        active_ = !wasRoot_ || (setresgid(kNobody, kNobody, 0) == 0 && setresuid(kNobody, kNobody, 0) == 0);
    }
    ~OrdinaryUser() {
        if (wasRoot_ && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0))
            qFatal("could not return to root");
    }
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

    bool active() const { return active_; }

private:
    static constexpr uid_t kNobody = 65534;
    bool wasRoot_;
    bool active_ = false;
};

}  // namespace tovimar::testing
#endif
