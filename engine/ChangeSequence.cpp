#include "engine/ChangeSequence.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

AdvancePlan planAdvance(int currentIndex, int count, bool randomOrder)
{
    AdvancePlan plan;
    if (count <= 0)
        return plan;
    if (currentIndex == count - 1) {
        plan.select = 0;
        return plan;
    }
    plan.select = currentIndex < 0 ? 0 : currentIndex + 1;
    plan.pickRandom = randomOrder;
    return plan;
}

int randomInRange(int upper, int lower, double secondsSinceMidnight)
{
    const float seed = static_cast<float>(secondsSinceMidnight);
    std::mt19937 generator(std::bit_cast<std::uint32_t>(seed));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double r = unit(generator);
    const double span = static_cast<double>(upper) - static_cast<double>(lower) + 1.0;
    return static_cast<int>(std::floor(span * r) + lower);
}
