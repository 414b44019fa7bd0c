// Network and date utilities shared by the socket component and the article composition:
// starting the network subsystem, resolving host names, dotted-quad addresses, the local host
// name, and the date in the form of mail and news headers with the local zone offset.
// No function here throws.
#pragma once

#include <cstdint>
#include <string>

#include "core/platform/datetime.h"

namespace pagolin {

// An IPv4 address in network byte order; kNoAddress (all bits set) means none.
using TIpAddress = std::uint32_t;
inline constexpr TIpAddress kNoAddress = 0xFFFFFFFFu;

// Run once at program start, before any window, and once at the end. On POSIX there is no
// library to start: StartNetwork sets the started flag and makes a write to a closed
// connection fail with an error instead of ending the program (SIGPIPE ignored).
void StartNetwork();
void StopNetwork();
bool NetworkStarted();

// "" gives kNoAddress. A dotted quad ("127.0.0.1") is converted without a name lookup;
// anything else is looked up (IPv4 only), waiting at most timeoutMs. kNoAddress on any failure.
TIpAddress ResolveHost(const std::string& host, int timeoutMs = 10000);

// The four bytes from the most significant, in decimal, separated by ".".
std::string AddressText(TIpAddress address);

// The official name of this host as the name service gives it; "127.0.0.1" when there is no
// name or the lookup fails.
std::string LocalHostName();

// Minutes with the sign of local time + offset = UTC (east of UTC is negative), for the zone
// in force at the moment of the call.
int ZoneOffset();
// "GMT" for 0, else "+hhmm" east of UTC and "-hhmm" west: -60 gives "+0100".
std::string ZoneText();
std::string ZoneText(int offset);

// The number in decimal with "0" in front until it has width characters; never cut.
std::string ZeroPad(long long number, int width);

// "Sun, 6 Dec 2026 07:00:36 +0100": the given local date and time, fractions of a second
// dropped, and the zone of the moment of the call.
std::string DateText(TDateTime value);
// The same with a given zone offset (minutes, as ZoneOffset).
std::string DateText(TDateTime value, int offset);

// Seconds from 1 January 1970 to the local clock as it reads now (not converted to UTC).
long long LocalClockSeconds();

}  // namespace pagolin
