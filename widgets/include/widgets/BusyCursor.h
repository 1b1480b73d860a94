#pragma once
// Shows the busy pointer for as long as it lives: put one around each card transaction.

namespace kx {

class BusyCursor {
  public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace kx
