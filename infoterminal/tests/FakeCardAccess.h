#pragma once
// A card layer for the window tests: answers each read with a prepared image or failure and
// records the port and model it was asked for.

#include <functional>
#include <string>
#include <vector>

#include "card/CardTransactions.h"

namespace kx::testing {

class FakeCardAccess : public CardAccess {
  public:
    struct ReadCall {
        int portIndex;
        std::string model;
    };

    int Read(int portIndex, std::string_view model, TMemberCardImage& image) override {
        reads.push_back({portIndex, std::string(model)});
        if (duringRead) {
            duringRead();
        }
        if (result == 0) {
            image = card;
        }
        return result;
    }

    int result = 0;
    TMemberCardImage card;
    std::vector<ReadCall> reads;
    // Runs inside each read: lets a test look at the window while the read is under way.
    std::function<void()> duringRead;
};

}  // namespace kx::testing
