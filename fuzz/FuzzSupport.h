// What the fuzz harnesses share: the library started once, invariant checks that stop the run
// with a message (libFuzzer then keeps the input), and stream helpers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Classes.h"
#include "platform/Streams.h"
#include "platform/Types.h"

namespace zelfuzz {

// Starts the library's units once for the whole run (off the screen).
void StartOnce();

// Stops the run when Condition is false: prints What and aborts.
void Check(bool Condition, const char* What);

// A memory stream holding the bytes, positioned at 0.
void Fill(zel::TMemoryStream& Stream, const std::uint8_t* Data, std::size_t Size);

// An object's property list (properties, then the list end) as bytes, and read back from a stream.
std::vector<zel::Byte> WrittenProperties(zel::TPersistent* Object);
void ReadProperties(zel::TPersistent* Object, zel::TStream* Stream);

}  // namespace zelfuzz
