#pragma once

#include "framework/NURFWUtils.h"
