object A: TA
  X = 'a'#13 + 'b'
  S = [a, b]
  L = (1 2.5 'x')
  C = <
    item
      N = 1
    end>
  D = {0A0B}
  F = @'f.bmp'
  object B: TB
  end
end
