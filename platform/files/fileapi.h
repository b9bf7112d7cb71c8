#pragma once
// The file services of the platform layer in one include: paths, current directory,
// attributes, enumeration, changes made by other programs, file handles and file management.

#include "platform/core/errhandling.h"
#include "platform/core/windef.h"
#include "platform/files/attributes.h"
#include "platform/files/curdir.h"
#include "platform/files/dirchanges.h"
#include "platform/files/displaytext.h"
#include "platform/files/fileio.h"
#include "platform/files/filemanage.h"
#include "platform/files/findfile.h"
#include "platform/files/paths.h"
