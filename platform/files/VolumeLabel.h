#pragma once
// The label a volume's own file system records, read with libblkid from the volume's source (a
// block device, or the image file a FUSE driver serves). The only user of libblkid.

#include <QByteArray>
#include <QString>

namespace win32 {

// The label of the file system on `source`, empty when there is none or the source cannot be
// read (not an absolute path, no permission, no file system libblkid knows).
QString ReadVolumeLabel(const QByteArray& source);

} // namespace win32
