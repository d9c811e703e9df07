#pragma once
// Program databases of two sizes for bench_scale, generated once into a
// cache folder. Both hold the same "visible work": one customer with exactly
// 50 devices of 4 inspections each; the rest of the rows only make the file
// large.
#include <QString>

struct ScaleSize {
    const char *name; // "small", "large"
    int customers;
    int devices;
    int inspections;
};

namespace scale {

inline constexpr ScaleSize kSmall{"small", 20, 1000, 3000};
inline constexpr ScaleSize kLarge{"large", 2000, 100000, 500000};

// Raised whenever the generated rows change: a cached file of another
// version is made anew.
inline constexpr int kGeneratorVersion = 1;

inline constexpr int kVisibleCustomer = 10000;
inline constexpr int kVisibleDevices = 50;
inline constexpr int kVisibleInspectionsPerDevice = 4;
QString visibleCustomerName();

// The given folder, else $XDG_CACHE_HOME/velmora-bench (~/.cache when unset).
QString cacheFolder(const QString &given);

// A file from before fingerprints: the schema as its first five upgrade
// steps leave it (fingerprint tables present, chain empty), the rows written
// in bulk. Generated when missing; returns its path.
QString ensureBeforeFingerprints(const QString &folder, const ScaleSize &size);

// The current file: the one above taken through the program's own upgrade,
// which writes the fingerprint chain in chunks and recomputes the index
// statistics. Generated when missing; returns its path.
QString ensureCurrent(const QString &folder, const ScaleSize &size);

} // namespace scale
