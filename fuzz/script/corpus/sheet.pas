begin
  if Pos( 'ТБ', <Формула>) = 0 then meType.Memo.Text := '';
end.