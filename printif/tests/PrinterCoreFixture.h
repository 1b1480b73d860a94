#pragma once
// A printer connection over fake transports, with helpers to reach each mode.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "FakeTransports.h"
#include "printif/PrinterConnection.h"

namespace kx::test {

inline PrinterParam NetParam(const char* address = "192.168.1.20", int32_t port = 9100) {
    PrinterParam param{};
    param.mode = PRINTER_MODE_NET;
    std::strncpy(param.address, address, sizeof(param.address));
    param.port = port;
    return param;
}

inline PrinterParam ModeParam(int32_t mode) {
    PrinterParam param{};
    param.mode = mode;
    return param;
}

class PrinterCoreTest : public ::testing::Test {
  protected:
    // Opens in the mode and forgets the calls of the open.
    void OpenUsb() {
        ASSERT_EQ(printer.Open(ModeParam(PRINTER_MODE_USB)), 1);
        log.clear();
    }
    void OpenNet() {
        ASSERT_EQ(printer.Open(NetParam()), 1);
        log.clear();
    }

    CallLog log;
    FakeUsb usb{log};
    FakeNet net{log};
    RecordingPauser pauser{log};
    PrinterConnection printer{usb, net, pauser};
};

}  // namespace kx::test
