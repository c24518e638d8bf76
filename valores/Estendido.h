#pragma once

#include <limits>

// The computation's floating steps run in 80-bit extended precision: a 64-bit
// significand, each operation rounded to nearest with ties to even.
using Estendido = long double;
static_assert(std::numeric_limits<Estendido>::digits == 64,
              "a computação exige o formato estendido de 80 bits (significando de 64 bits)");
