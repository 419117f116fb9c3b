"""Components from Python: creation, description, properties, persistence, copies,
errors and events, over every registered class."""

import copy
import pickle
import sys

import pytest

import lumxip

E_INVALIDARG = 0x80070057
# Classes that are services or raw pixel memory, not components a script keeps.
NOT_COMPONENTS = {"Halvex.LumMessageService", "Halvex.LumPersistenceService",
                  "Halvex.LumImage8PixelMemory", "Halvex.LumImage16PixelMemory"}
COMPONENTS = [p for p in lumxip.progids() if p not in NOT_COMPONENTS]


def plain_properties(obj):
    """Name and value of each readable and writable property of a plain type."""
    for name in dir(obj):
        if not name[0].isupper():
            continue
        value = getattr(obj, name)
        if isinstance(value, (bool, int, float, str)):
            yield name, value


@pytest.mark.parametrize("progid", COMPONENTS)
def test_every_component_round_trips(progid):
    obj = lumxip.create(progid)
    assert "Clone: method" in lumxip.describe(obj)
    for name, value in plain_properties(obj):
        try:
            setattr(obj, name, value)  # the value it has is always accepted
        except lumxip.Error as e:
            assert e.hresult == 0x80020003, (name, e)  # read-only
    for encoding in ("json", "binary"):
        loaded = lumxip.loads(lumxip.dumps(obj, encoding))
        assert lumxip.dumps(loaded) == lumxip.dumps(obj)
    copied = copy.deepcopy(obj)
    assert copied._class_id() == obj._class_id() and not copied._same(obj)
    assert lumxip.dumps(pickle.loads(pickle.dumps(obj))) == lumxip.dumps(obj)


def test_enumerations_are_int_enums_and_take_their_names():
    op = lumxip.create("Halvex.LumIPOneImageAddSubtractConst")
    modes = op.enums.OverflowMode
    assert op.OverflowMode is modes.lumIPOneImageAddSubtractConstantOverflowModeBounded
    op.OverflowMode = "lumIPOneImageAddSubtractConstantOverflowModeWrap"
    assert op.OverflowMode == 1
    assert "OverflowMode" in dir(op) and "OperationFormat" not in dir(op)  # persisted only
    assert "Bounded clamps" in lumxip.describe(op)
    assert op.Execute.__doc__.startswith("Execute: method")


def test_a_refused_value_raises_with_the_components_message():
    op = lumxip.create("Halvex.LumIPOneImageAddSubtractConst")
    with pytest.raises(lumxip.Error) as refused:
        op.OverflowMode = 7
    assert refused.value.hresult == E_INVALIDARG
    assert "OverflowMode" in refused.value.description
    assert refused.value.source
    assert op.OverflowMode == 0
    with pytest.raises(AttributeError):
        op.NoSuchMember
    with pytest.raises(AttributeError):
        op.NoSuchMember = 1
    with pytest.raises(lumxip.Error) as unknown:
        lumxip.create("Halvex.NoSuchClass")
    assert "NoSuchClass" in str(unknown.value)
    with pytest.raises(lumxip.Error, match="wrong number of arguments"):
        op.Execute()


def test_collections_index_and_deep_copies_are_independent():
    tool = lumxip.create("Halvex.LumIPOneImageTool")
    tool.Operators.Add(lumxip.create("Halvex.LumIPOneImageAddSubtractConst"))
    assert tool.Operators.Count == 1
    tool.Operators.Item[0].ConstantValue = 5
    copied = copy.deepcopy(tool)
    copied.Operators.Item[0].ConstantValue = 9
    assert tool.Operators.Item(0).ConstantValue == 5


def test_change_and_tool_events_reach_python_callables():
    tool = lumxip.create("Halvex.LumIPOneImageTool")
    changes, tool_events = [], []
    with tool.on_change(lambda state, value, flags: changes.append((state, flags))):
        with tool.on_tool_event(tool_events.append):
            tool.ToolName = "inspect"
            tool.Run()  # no input image: the run fails, the events still come
    tool.ToolName = "after"  # closed connections deliver nothing
    assert changes[0][1] & 1  # set by a client
    assert len(changes) == 2
    assert tool_events == ["running", "ran"]


def test_a_failing_callback_is_reported_and_does_not_fail_the_call(monkeypatch):
    op = lumxip.create("Halvex.LumIPOneImageAddSubtractConst")
    reported = []
    monkeypatch.setattr(sys, "unraisablehook", reported.append)

    def fail(*_):
        raise RuntimeError("callback failed")

    connection = op.on_change(fail)
    op.ConstantValue = 3
    connection.close()
    assert op.ConstantValue == 3
    assert str(reported[0].exc_value) == "callback failed"


def test_save_and_load_files(tmp_path):
    op = lumxip.create("Halvex.LumIPOneImageMultiplyConstant")
    for name in ("op.json", "op.bin"):
        lumxip.save(op, tmp_path / name)
        assert lumxip.dumps(lumxip.load(tmp_path / name)) == lumxip.dumps(op)
    assert (tmp_path / "op.json").read_text().lstrip().startswith("{")
