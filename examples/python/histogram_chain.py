"""Runs a chain of two operators over an image and prints its histogram statistics.

    PYTHONPATH=build/python python3 examples/python/histogram_chain.py [IMAGE.png]
"""

import sys

import numpy as np

import lumxip


def sample_image():
    """A 480 x 640 grey ramp with a bright square, made with numpy."""
    rows, cols = np.mgrid[0:480, 0:640]
    image = ((rows + cols) // 5).astype(np.uint8)
    image[200:280, 280:360] = 230
    return image


def main():
    image = lumxip.read_image(sys.argv[1]) if len(sys.argv) > 1 else sample_image()

    tool = lumxip.create("Halvex.LumIPOneImageTool")
    tool.Operators.Add(lumxip.create("Halvex.LumIPOneImageConvolve3x3"))  # smooth
    brighten = lumxip.create("Halvex.LumIPOneImageAddSubtractConst")
    brighten.ConstantValue = 20
    tool.Operators.Add(brighten)
    tool.InputImage = image
    tool.Run()
    status = tool.RunStatus
    if status.ResultCode != 0:
        sys.exit(f"the chain failed: {status.Message}")

    histogram = lumxip.create("Halvex.LumHistogram").Execute(tool.OutputImage, None)
    print(f"pixels   {histogram.NumSamples}")
    print(f"mean     {histogram.Mean:.3f}")
    print(f"std dev  {histogram.StandardDeviation:.3f}")
    print(f"median   {histogram.Median}")
    print(f"min/max  {histogram.Minimum}/{histogram.Maximum}")


if __name__ == "__main__":
    main()
