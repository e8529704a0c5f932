-- sample.lua - a small class with inheritance.
--[[ A long comment:
     it spans lines and holds "strings" and 'quotes'. ]]
--[==[ A level-two long comment with ]] inside ]==]

local Shape = {}
Shape.__index = Shape

function Shape.new(name, sides)
  local self = setmetatable({}, Shape)
  self.name = name or "shape"
  self.sides = sides or 0
  return self
end

function Shape:describe()
  return string.format("%s with %d sides", self.name, self.sides)
end

local Square = setmetatable({}, { __index = Shape })
Square.__index = Square

function Square.new(size)
  local self = Shape.new("square", 4)
  self.size = size
  return setmetatable(self, Square)
end

function Square:area()
  return self.size ^ 2
end

local template = [[
<p class="note">Long string over lines, no \escapes here</p>
]]
local nested = [=[ a ]] inside a level-one long string ]=]
local escaped = "tab\there, quote \" and backslash \\"
local single = 'it\'s'
local numbers = { 42, 0xFF, 3.14, 1e-3, 0x1p4 }

for i, value in ipairs(numbers) do
  if value > 10 and not (value == 42) then
    print(i, value)
  elseif value < 1 then
    goto continue
  end
  ::continue::
end

local sq = Square.new(3)
print(sq:describe(), sq:area(), template, nested, escaped, single)
