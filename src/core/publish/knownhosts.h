// The SSH host keys the user trusts, in the file OpenSSH keeps them in (~/.ssh/known_hosts),
// and the fingerprint by which a person checks a key that is not there yet.
#pragma once

#include <string>
#include <string_view>

namespace pagolin {

// $HOME/.ssh/known_hosts ("" when there is no home folder).
std::string DefaultKnownHostsFile();

// The key's fingerprint as ssh shows it: "SHA256:" and the base64 of the SHA-256 of the key's
// blob, without padding.
std::string HostKeyFingerprint(std::string_view keyBlob);
// The key's type from its blob ("ssh-ed25519", "ecdsa-sha2-nistp256", ...); "" when the blob
// does not begin with one.
std::string HostKeyType(std::string_view keyBlob);
// The line that makes the key known for host and port: "host type base64" for port 22,
// "[host]:port type base64" for any other.
std::string KnownHostsLine(const std::string& host, int port, std::string_view keyBlob);

// Appends line to the file, making its folder (mode 0700) and the file (0600) when they are
// missing; a file that does not end its last line gets a line break first. Returns false with
// a reason naming the file when it cannot.
bool AddKnownHost(const std::string& fileName, const std::string& line, std::string& error);

}  // namespace pagolin
