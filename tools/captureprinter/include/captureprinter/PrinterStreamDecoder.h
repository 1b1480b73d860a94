#pragma once
// Turns the bytes a receipt printer receives into readable lines: ESC/POS commands by name with
// their arguments, text decoded from GBK. Bytes may arrive split anywhere.

#include <string>
#include <string_view>
#include <vector>

namespace kx {

class PrinterStreamDecoder {
  public:
    // The lines that the bytes so far complete; a command or text cut off at the end waits
    // for the next bytes.
    std::vector<std::string> Feed(std::string_view bytes);
    // The lines of whatever is still waiting; an unfinished command is shown as such.
    std::vector<std::string> Finish();

  private:
    std::vector<std::string> Decode(bool final);

    std::string pending_;
};

// All lines of a complete capture, each ending in a newline.
std::string DescribePrinterBytes(std::string_view bytes);

}  // namespace kx
