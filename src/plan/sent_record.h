#pragma once

#include <optional>
#include <string>

#include "core/files.h"
#include "core/modulo1.h"

namespace velora {

// What the plan last put on each sign, kept by content so that a run every few minutes sends a
// sequence once and never again until another one is due. One file in the data folder, one line
// a sign: the sign's key, the digest of the upload's bytes, the file it came from, separated by
// tabs. Only an upload the sign confirmed is written down: a failed one is tried again.
class SentRecord {
public:
    static constexpr const char* kFileName = "ultimi-invii.txt";

    SentRecord(Files& files, std::string path);

    // The key of a sign: its name, or the port when the plan is sent to a port.
    static std::string keyForSign(const std::string& name);
    static std::string keyForPort(const std::string& port);

    struct Entry {
        std::string digest;
        std::string file;
    };
    // What the sign of `key` last confirmed; nothing when no upload of the plan was confirmed.
    std::optional<Entry> lastConfirmed(const std::string& key) const;

    // Writes down that the sign of `key` confirmed the upload of `file`, whose bytes have
    // `digest`; the file is written whole. False when it could not be written.
    bool confirm(const std::string& key, const std::string& digest, const std::string& file);

    const std::string& path() const { return m_path; }

private:
    Files& m_files;
    std::string m_path;
};

// The digest of the upload of the sequence in `state` (a 64-bit FNV-1a of its bytes, 16 hex
// digits): the same pages at the same width give the same digest whatever the file is called.
std::string uploadDigest(const Modulo1& state);

}  // namespace velora
