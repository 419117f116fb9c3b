"""numpy arrays as images and back: pixels, strides, depth code and mask survive; rows of
contiguous pixels are used in place."""

import numpy as np
import pytest

import lumxip

rng = np.random.default_rng(7)
grey8 = rng.integers(0, 256, (37, 53), dtype=np.uint8)
grey16 = rng.integers(0, 4096, (21, 30), dtype=np.uint16)
planar = rng.integers(0, 256, (3, 19, 23), dtype=np.uint8)  # planes, as the image keeps them
wide8 = rng.integers(0, 256, (40, 64), dtype=np.uint8)

CASES = {
    # name: (array, expect no copy)
    "grey8": (grey8, True),
    "grey16": (grey16, True),
    "rows of a wider array": (wide8[5:30, 3:40], True),
    "colour planes seen as H×W×3": (np.moveaxis(planar, 0, 2), True),
    "interleaved colour": (np.ascontiguousarray(np.moveaxis(planar, 0, 2)), False),
    "every other column": (wide8[:, ::2], False),
    "flipped rows": (wide8[::-1], False),
    "read-only": (np.frombuffer(bytes(wide8), np.uint8).reshape(wide8.shape), False),
}


@pytest.mark.parametrize("name", CASES)
def test_arrays_round_trip(name):
    array, in_place = CASES[name]
    image = lumxip.image(array)
    back = np.asarray(image)
    assert back.dtype == array.dtype and back.shape == array.shape
    assert np.array_equal(back, array)
    assert np.shares_memory(back, array) == in_place
    if in_place:
        assert back.strides == array.strides
    assert not back.flags.writeable


def test_the_image_keeps_its_array_alive():
    image = lumxip.image(np.full((8, 8), 42, np.uint8))  # nothing else holds the array
    assert np.asarray(image).sum() == 42 * 64
    view = np.asarray(lumxip.image(np.full((4, 4), 7, np.uint16)))
    assert view.sum() == 7 * 16  # the view keeps the image, which keeps the pixels


def test_depth_code_and_mask_survive():
    image = lumxip.image(grey16, depth=2)
    assert image.depth == 2 and image.PixelDepth == 2
    values = np.ma.masked_array(grey16, mask=grey16 > 3000)
    ranged = lumxip.image(values, depth=2)
    back = ranged.to_numpy()
    assert isinstance(back, np.ma.MaskedArray)
    assert np.array_equal(back.mask, values.mask) and np.array_equal(back.data, grey16)
    assert ranged.depth == 2 and set(np.unique(ranged.mask)) <= {0, 255}
    restored = lumxip.loads(lumxip.dumps(ranged))
    assert np.array_equal(restored.to_numpy().mask, values.mask)
    assert restored.depth == 2
    assert lumxip.image(grey8).depth is None


@pytest.mark.parametrize("bad", [np.zeros((4, 4), np.float32), np.zeros((4, 4, 4), np.uint8),
                                 np.zeros(5, np.uint8), np.ma.masked_array(grey8),
                                 grey16.astype(">u2")])
def test_unsupported_arrays_are_refused(bad):
    with pytest.raises(TypeError):
        lumxip.image(bad)


def test_bad_depth_code_is_refused():
    with pytest.raises(ValueError):
        lumxip.image(grey16, depth=9)


def test_operator_output_is_a_buffer_and_pickles():
    op = lumxip.create("Halvex.LumIPOneImageAddSubtractConst")
    op.ConstantValue = 10
    out = op.Execute(grey8, 1, None)
    assert isinstance(out, lumxip.Image)
    expected = np.minimum(grey8.astype(int) + 10, 255)
    assert np.array_equal(memoryview(out), expected)
    colour = op.Execute(np.moveaxis(planar, 0, 2), 1, None)
    assert colour.shape == (19, 23, 3)
    import pickle
    assert np.array_equal(np.asarray(pickle.loads(pickle.dumps(out))), expected)
