#pragma once

#include "platform/cleanup.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/lock.h"
#include "platform/process.h"
#include "platform/replacement.h"
#include "platform/watch.h"
