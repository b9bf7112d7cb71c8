#include "platform/files/VolumeLabel.h"

#include <blkid.h>
#include <memory>

namespace win32 {

namespace {

struct ProbeDeleter {
    void operator()(blkid_probe probe) const { blkid_free_probe(probe); }
};
using Probe = std::unique_ptr<std::remove_pointer_t<blkid_probe>, ProbeDeleter>;

} // namespace

QString ReadVolumeLabel(const QByteArray& source) {
    if (!source.startsWith('/')) {
        return {};
    }
    const Probe probe(blkid_new_probe_from_filename(source.constData()));
    if (!probe) {
        return {};
    }
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_LABEL);
    const char* label = nullptr;
    if (blkid_do_safeprobe(probe.get()) != 0 ||
        blkid_probe_lookup_value(probe.get(), "LABEL", &label, nullptr) != 0 || label == nullptr) {
        return {};
    }
    return QString::fromUtf8(label);
}

} // namespace win32
