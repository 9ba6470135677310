// Small numeric routines shared by the rating replay and the analysis windows: the ELO rating
// change in two scales, the Poisson probability with its factorial, and the chance of a match
// with at most two goals. None of them keeps state.
#pragma once

#include <cstdint>

namespace morvela {

// Rating change for side A (the home side) after a match of side A with rating a against side
// B with rating b that ended p:q. Callers add it to A's rating and subtract it from B's.
// The change is (W - E) * K truncated toward zero, where W is 1, 0.5 or 0 for a win, draw or
// defeat of A, K is 40 for a margin of two goals or more and 32 otherwise, and
// E = 1 / (10^((b - a) / 400) + 1) is A's expected score. The result lies in -40..40.
int32_t RatingChange400(int32_t a, int32_t b, int32_t p, int32_t q);

// As RatingChange400 with 200 as the scale of the expected score, so that a rating gap weighs
// twice as much.
int32_t RatingChange200(int32_t a, int32_t b, int32_t p, int32_t q);

// Probability of exactly k events when lambda are expected: 2.71828^-lambda * lambda^k / k!.
// The base is the constant 2.71828 rather than e, so that stored under percentages stay the
// same as those the program has always computed. For lambda <= 0 the result is 1 for k = 0 and
// 0 otherwise. k is meant to be small (k! must fit Factorial's 16 bits, k <= 8).
double PoissonProbability(uint8_t k, double lambda);

// Percentage chance (0..100) of at most two goals in a match with lambda expected goals: the
// Poisson probabilities of 0, 1 and 2 goals summed in extended precision, times 100, rounded
// to the nearest integer with ties to even.
int32_t UnderPercentage(double lambda);

// k! in 16-bit unsigned arithmetic: exact up to k = 8, above that it wraps modulo 65536 as the
// 16-bit product does (9! gives 35200).
uint16_t Factorial(uint8_t k);

}  // namespace morvela
