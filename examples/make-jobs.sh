#!/usr/bin/env bash
# Writes the example jobs with `lumxip new`. Usage: examples/make-jobs.sh [LUMXIP] [EXT]
# (EXT "json" for the JSON text encoding, "job" for the binary one).
set -euo pipefail
cd "$(dirname "$0")"
lumxip=${1:-../build/apps/lumxip/lumxip}
ext=${2:-json}

# Edges: smooth away the noise, then keep what changes quickly.
"$lumxip" new Halvex.LumIPOneImageTool --set ToolName=Edges \
  --add Halvex.LumIPOneImageConvolve3x3 --add Halvex.LumIPOneImageHighPassFilter \
  --set 'Operators.Item(0).OperatorName=Smooth' --set 'Operators.Item(1).OperatorName=Edges' \
  --set 'Operators.Item(1).SmoothnessX=4' --set 'Operators.Item(1).SmoothnessY=4' \
  -o "edges.$ext"

# Brighten: stretch the contrast and lift the dark background.
"$lumxip" new Halvex.LumIPOneImageTool --set ToolName=Brighten \
  --add Halvex.LumIPOneImageMultiplyConstant --add Halvex.LumIPOneImageAddSubtractConstant \
  --set 'Operators.Item(0).OperatorName=Contrast' --set 'Operators.Item(0).ConstantValue=1.3' \
  --set 'Operators.Item(1).OperatorName=Lift' --set 'Operators.Item(1).ConstantValue=25' \
  -o "brighten.$ext"

# Blur: the N x M convolution with its default kernel, the image mirrored at its edges.
"$lumxip" new Halvex.LumIPOneImageTool --set ToolName=Blur \
  --add Halvex.LumIPOneImageConvolveNxM --set 'Operators.Item(0).OperatorName=Blur' \
  -o "blur.$ext"
