#pragma once
// The three card transactions: open the reader, do the work, close it; 0 or -1.

#include <cstdint>
#include <string_view>

#include "card/MemberCard.h"

namespace kx {

int ReadMemberCard(int portIndex, std::string_view model, TMemberCardImage& image);
int DecMemberCard(int portIndex, std::string_view model, uint32_t cents, uint32_t& serial);
int IncMemberCard(int portIndex, std::string_view model, uint32_t cents, uint32_t& serial);

// The pause between the two beeps of a failed transaction. Tests replace it so that the pause
// shows in the call order without waiting; nullptr restores the real sleep.
using PauseFn = void (*)(int milliseconds);
void SetTransactionPause(PauseFn pause);

// The seam through which the windows reach the card, so that their tests can use a fake.
class CardAccess {
  public:
    virtual ~CardAccess() = default;
    virtual int Read(int portIndex, std::string_view model, TMemberCardImage& image) {
        return ReadMemberCard(portIndex, model, image);
    }
    virtual int Debit(int portIndex, std::string_view model, uint32_t cents, uint32_t& serial) {
        return DecMemberCard(portIndex, model, cents, serial);
    }
    virtual int Credit(int portIndex, std::string_view model, uint32_t cents, uint32_t& serial) {
        return IncMemberCard(portIndex, model, cents, serial);
    }
};

}  // namespace kx
