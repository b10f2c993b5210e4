// The canvas unit as a whole: geometry and paths, pens and brushes, 3D view options, gradients,
// fonts, shadows, pictures, the abstract 2D and 3D canvases and the platform canvas.
#pragma once

#include "zelgraph/canvas/Canvas.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/canvas/PlatformCanvas.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/canvas/View3D.h"
