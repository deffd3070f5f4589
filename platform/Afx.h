#pragma once

// Everything the application code uses of its class library and platform.

#include "CString.h"
#include "Com.h"
#include "Controls.h"
#include "DataExchange.h"
#include "DropFiles.h"
#include "Dialog.h"
#include "File.h"
#include "FileDialog.h"
#include "Graphics.h"
#include "Menu.h"
#include "MessageMap.h"
#include "Messages.h"
#include "Resources.h"
#include "RuntimeClass.h"
#include "Shell.h"
#include "WinApp.h"
#include "WinTypes.h"
#include "Wnd.h"
