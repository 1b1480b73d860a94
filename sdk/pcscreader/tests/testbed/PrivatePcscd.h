#pragma once
// A pcscd of the test's own, with Debian's vpcd virtual reader driver, in private network and
// mount namespaces: the whole test process moves into them, so the daemon's socket (in a tmpfs on
// /run) and vpcd's TCP ports are seen by the test alone and nothing listens outside.

#include <sys/types.h>
#include <string>

namespace kx::pcsc::testing {

class PrivatePcscd {
  public:
    enum class State { Running, Unavailable, Failed };

    // Running, or Unavailable with the reason (no root, no namespaces, no pcscd or vpcd), or
    // Failed with what went wrong. Starts again after Stop, in the same namespaces.
    State Start(std::string& reason);
    // Stops the daemon and waits until it is gone.
    void Stop();
    ~PrivatePcscd() { Stop(); }

  private:
    static inline bool isolated_ = false;  // the process is in its namespaces for good
    pid_t daemon_ = -1;
};

// The names vpcd gives its two reader slots, in the order pcscd lists them.
inline constexpr const char* kVpcdReaderNames[] = {"Virtual PCD 00 00", "Virtual PCD 00 01"};

}  // namespace kx::pcsc::testing
