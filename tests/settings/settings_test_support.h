#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/files/temp_dir.h"

// The settings file in a fresh directory, with helpers to read and plant its raw bytes.
class SettingsFixtureDir {
  public:
    std::filesystem::path file() const { return dir_.path() / "zuvo_16.dat"; }
    const std::filesystem::path& dir() const { return dir_.path(); }

    std::vector<uint8_t> bytes() const {
        std::ifstream in(file(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void plant(const std::vector<uint8_t>& bytes) const {
        std::ofstream out(file(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

  private:
    TempDir dir_;
};
