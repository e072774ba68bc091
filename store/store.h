// The global store in one include: every parameter object the windows share,
// the passing objects they make for a single question, and the procedures
// that act on the store as a group.
#pragma once

// Program-wide values and settings.
#include "clsSettings.h"
#include "globals.h"

// The global parameter objects.
#include "clsBattery.h"
#include "clsChannel.h"
#include "clsDepth.h"
#include "clsDownload.h"
#include "clsFirmware.h"
#include "clsGenStatus.h"
#include "clsGeneral.h"
#include "clsMultiTAT.h"
#include "clsSpanwaveParams.h"
#include "clsTransceiver.h"

// Passing objects made for one question and released at once.
#include "clsCommands.h"
#include "clsRelease.h"
#include "clsTimedRelease.h"

#include "resets.h"
