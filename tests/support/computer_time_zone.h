#pragma once
// Sets the computer's time zone (TZ, which child processes inherit too) for
// one scope, and puts back the one before.

#include <stdlib.h>
#include <time.h>

#include <optional>
#include <string>

class ComputerTimeZone {
  public:
    explicit ComputerTimeZone(const char* zone) {
        if (const char* old = getenv("TZ")) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ComputerTimeZone() {
        if (old_) {
            setenv("TZ", old_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    ComputerTimeZone(const ComputerTimeZone&) = delete;
    ComputerTimeZone& operator=(const ComputerTimeZone&) = delete;

  private:
    std::optional<std::string> old_;
};
