#pragma once

#include "NURFWUtils.h"
