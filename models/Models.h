// The distributions of the details engine, one model each (Model.h),
// defined in the model's own file.  Each model is a single constant object,
// initialised before any code runs, so these may be called from anywhere,
// the initialisers of other statics included.
#pragma once

#include "models/Model.h"

namespace models {

const Model& NormalModel();          // {mean, variance}
const Model& ChiSquareModel();       // {df}
const Model& TModel();               // {df}
const Model& FModel();               // {df1, df2}
const Model& BinomialModel();        // {p, n}
const Model& PoissonModel();         // {lambda}
const Model& HypergeometricModel();  // {blue, red, sample}

const Model& ExponentialModel();  // {rate}
const Model& GammaModel();        // {shape k, scale theta}
const Model& BetaModel();         // {alpha, beta}
const Model& UniformModel();      // {a, b}
const Model& LognormalModel();    // {mu, sigma} of ln X
const Model& WeibullModel();      // {shape k, scale lambda}
const Model& CauchyModel();       // {location, scale}
const Model& LogisticModel();     // {location, scale}

const Model& GeometricModel();         // {p}: failures before the first success
const Model& NegativeBinomialModel();  // {r, p}: failures before the r-th success
const Model& DiscreteUniformModel();   // {a, b}: the whole numbers a..b

const Model& NoncentralTModel();          // {df, delta}
const Model& NoncentralChiSquareModel();  // {df, lambda}
const Model& NoncentralFModel();          // {df1, df2, lambda}

}  // namespace models
