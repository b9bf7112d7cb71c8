#pragma once
// The file services of the platform layer in one include: paths, current directory,
// attributes, enumeration, file handles and file management.

#include "platform/Win32Types.h"
#include "platform/attributes.h"
#include "platform/curdir.h"
#include "platform/errhandling.h"
#include "platform/fileio.h"
#include "platform/filemanage.h"
#include "platform/findfile.h"
#include "platform/paths.h"
