// A write that fails part-way, as on a full disk: a file-size limit for the process, with the
// signal that would end it ignored, lifted again when the guard goes.
#pragma once

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>

namespace tovimar::testing {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old_;
        small.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return active_; }

private:
    rlimit old_{};
    void (*previous_)(int) = nullptr;
    bool active_ = false;
};

}  // namespace tovimar::testing
#endif
