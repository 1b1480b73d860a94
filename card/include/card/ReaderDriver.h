#pragma once
// The eleven reader operations, dispatched by model name to the bound SDK functions.
// 0 is success; -1 means no model, no such operation, or an exception inside the SDK call.

#include <cstdint>
#include <string_view>

namespace kx {

// Port index: 0 = USB, 1..6 = COM1..COM6.
int32_t ReaderInit(int portIndex, std::string_view model);
void ReaderBeep(std::string_view model, int32_t handle);
int32_t ReaderCard(std::string_view model, int32_t handle, uint32_t& serial);
int32_t ReaderLoadKey(std::string_view model, int32_t handle, int keyMode, int sector,
                      const uint8_t key[6]);
int32_t ReaderAuthentication(std::string_view model, int32_t handle, int keyMode, int sector);
int32_t ReaderRead(std::string_view model, int32_t handle, int block, uint8_t data[16]);
int32_t ReaderReadVal(std::string_view model, int32_t handle, int block, uint32_t& value);
int32_t ReaderDecrement(std::string_view model, int32_t handle, int block, uint32_t amount);
int32_t ReaderIncrement(std::string_view model, int32_t handle, int block, uint32_t amount);
int32_t ReaderHalt(std::string_view model, int32_t handle);
int32_t ReaderExit(int32_t handle, std::string_view model);

}  // namespace kx
